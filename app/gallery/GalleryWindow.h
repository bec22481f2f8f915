#pragma once

#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

#include "controls/platform/CommandTarget.h"

// Every common control in every state, for looking at them in each language.
namespace pagelark {

class DialogUnits;
class HoverButton;
class LinkLabel;
class ThemeHelper;

class GalleryWindow : public QWidget, public CommandTarget {
    Q_OBJECT

  public:
    explicit GalleryWindow(QWidget* parent = nullptr);
    ~GalleryWindow() override;

    void OnCommand(int commandId) override;

    // Puts the samples that stand for hovered, pressed and focused controls
    // into their state. openMenu also drops the language menu down.
    void ShowStates(bool openMenu);

  private:
    QWidget* TopRow(const DialogUnits& units);
    QWidget* RoundStates(const DialogUnits& units);
    QWidget* ThemedStates(const DialogUnits& units, ThemeHelper* helper, const QString& title);
    QWidget* ClassicStates(const DialogUnits& units);
    QWidget* LinkStates();
    QWidget* Bitmaps();
    void Relabel();

    std::unique_ptr<ThemeHelper> m_styled;
    std::unique_ptr<ThemeHelper> m_classic;
    std::vector<std::pair<HoverButton*, int>> m_captioned;  // button, string id
    std::vector<std::pair<HoverButton*, int>> m_tipped;     // button, tooltip string id
    std::vector<HoverButton*> m_hovered;
    std::vector<HoverButton*> m_pressed;
    HoverButton* m_focused = nullptr;
    HoverButton* m_languageButton = nullptr;
    LinkLabel* m_hoverLink = nullptr;
    LinkLabel* m_copyright = nullptr;
};

}  // namespace pagelark
