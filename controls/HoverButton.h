#pragma once

#include <QIcon>
#include <QPushButton>
#include <QSize>

#include <functional>
#include <memory>

#include "controls/HoverButtonModel.h"

class QMenu;

// A flat push button that rises while the mouse is over it and sinks when
// pressed, with an icon beside a centred caption, a tooltip, an optional
// drop-down menu and an optional toggle mode.
namespace pagelark {

class CommandTarget;

class HoverButton : public QPushButton {
    Q_OBJECT

  public:
    // style: a button style; its type decides toggle (checkbox types) and default.
    explicit HoverButton(QWidget* parent = nullptr, int style = BS_PUSHBUTTON);
    ~HoverButton() override;

    // Icons from the resources; outId 0 means none. 0 ok, 1 when an icon is missing.
    int SetIcon(int inId, int outId = 0);
    // Icons already loaded, each with the size it is drawn at.
    int SetIcon(const QIcon& in, const QSize& inSize, const QIcon& out = QIcon(),
                const QSize& outSize = QSize());

    // 0 ok, 3 for a slot above 5.
    int SetColor(int slot, const QColor& colour, bool repaint = true);
    QColor GetColor(int slot) const { return m_model.Color(slot); }
    int SetDefaultColors(bool repaint = true);

    // A null text does nothing.
    void SetTooltipText(const QString& text, bool activate = false);
    QString TooltipText() const { return m_tooltipText; }
    bool IsTooltipActive() const { return m_tooltipActive; }

    // A menu resource whose items drop down on click, commands going to owner;
    // 0 removes the menu. 0 ok, 1 when the menu cannot be loaded.
    int SetMenu(int menuId, CommandTarget* owner, bool repaint = true);

    // A later change of the button style.
    void SetButtonStyle(int style);

    bool GetCheck() const { return m_model.IsChecked(); }
    void SetCheck(bool checked);

    const HoverButtonModel& Model() const { return m_model; }

    // Breaks text into lines no wider than maxWidth pixels, at blanks.
    static QString WrapTip(const QString& text, const QFont& font, int maxWidth);

    // How the drop-down menu is shown; tests replace it. The default runs the
    // menu modally at the given screen point.
    using MenuTracker = std::function<void(QMenu& menu, const QPoint& screenPos)>;
    void SetMenuTracker(MenuTracker tracker);
    // The drop-down menu set by SetMenu, for an owner that adds its own items.
    QMenu* DropMenu() const { return m_menu.get(); }

  protected:
    virtual int OnDrawBackground(QPainter& painter, const QRect& rect);
    virtual int OnDrawBorder(QPainter& painter, const QRect& rect);

    // The face of the draw in progress.
    const HoverButtonModel::Face& CurrentFace() const { return m_face; }

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void OnClicked();
    void EndHover();
    void DrawIcon(QPainter& painter, const QRect& rect, QRect& textRect) const;
    void DrawCaption(QPainter& painter, QRect textRect) const;
    void FreeIcons();

    HoverButtonModel m_model;
    HoverButtonModel::Face m_face;
    QIcon m_iconIn;
    QIcon m_iconOut;
    QSize m_iconInSize;
    QSize m_iconOutSize;
    std::unique_ptr<QMenu> m_menu;
    CommandTarget* m_menuOwner = nullptr;
    MenuTracker m_menuTracker;
    QString m_tooltipText;
    bool m_tooltipActive = false;
};

}  // namespace pagelark
