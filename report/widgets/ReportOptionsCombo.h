#pragma once

#include <QComboBox>

// The options list's drop-down list over an option's value: Enter and Esc,
// and the loss of the focus, tell the list to close it.
namespace pagelark {

class CReportOptionsCtrl;

class CReportOptionsCombo : public QComboBox {
    Q_OBJECT

  public:
    static constexpr int kListHeight = 100;

    CReportOptionsCombo(CReportOptionsCtrl& owner, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    CReportOptionsCtrl& m_owner;
};

}  // namespace pagelark
