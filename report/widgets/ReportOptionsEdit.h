#pragma once

#include <QLineEdit>

// The options list's edit box over an option's value: Enter and Esc, and the
// loss of the focus, tell the list to close it.
namespace pagelark {

class CReportOptionsCtrl;

class CReportOptionsEdit : public QLineEdit {
    Q_OBJECT

  public:
    CReportOptionsEdit(CReportOptionsCtrl& owner, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    CReportOptionsCtrl& m_owner;
};

}  // namespace pagelark
