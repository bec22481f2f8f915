#pragma once

#include <QKeyEvent>
#include <QPointer>
#include <QStringList>

#include <map>
#include <string>

#include "report/widgets/ReportCtrl.h"

// A list of options to set: each row reads "name: value". A check state of
// 0-3 makes it a check box option, 4-7 a radio option among its siblings
// (bit 0 checked, bit 1 fixed); a value editor (an edit box or a drop-down
// list) opens over the value on a double click or Space.
namespace pagelark {

class CReportOptionsCtrl : public CReportCtrl {
    Q_OBJECT

  public:
    enum class Editor { None = 0, Edit = 1, Combo = 2 };

    explicit CReportOptionsCtrl(QWidget* parent = nullptr, int controlId = 0);

    // Appends an option under parent (-1: the top level); returns its item.
    int AddOption(int parent, const std::string& name, const std::string& value, int check = -1,
                  Editor editor = Editor::None, const QStringList& choices = {});
    std::string GetOptionValue(int item) const;
    int GetOptionParent(int item) const;
    // Opens the option's value editor; false when it has none.
    bool OpenEditor(int item);
    // The editor ends: Enter (13) and focus loss (0) keep the new value, Esc (27) drops it.
    void CloseEditor(int key);
    // A value editor's key: Enter or Esc ends the edit (true); any other key
    // is the editor's own.
    bool EditorKey(const QKeyEvent& event);
    QWidget* ValueEditor() const { return m_valueEditor; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool HandleKey(uint32_t key, Qt::KeyboardModifiers modifiers) override;

  private:
    struct Option {
        std::string name;
        std::string value;
        int parent = -1;
        QStringList choices;
    };
    void Toggle(int item);
    int OptionCheck(int item);
    void SetOptionCheck(int item, int check);
    int SendOption(int code, int item, int value);

    std::map<int, Option> m_options;
    QPointer<QWidget> m_valueEditor;
    int m_editing = -2;
};

}  // namespace pagelark
