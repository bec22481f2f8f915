#include "report/widgets/ReportOptionsCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include "report/widgets/ReportOptionsCtrl.h"

namespace pagelark {

CReportOptionsCombo::CReportOptionsCombo(CReportOptionsCtrl& owner, QWidget* parent)
    : QComboBox(parent), m_owner(owner) {
    view()->setMaximumHeight(kListHeight);
}

void CReportOptionsCombo::keyPressEvent(QKeyEvent* event) {
    if (!m_owner.EditorKey(*event)) QComboBox::keyPressEvent(event);
}

void CReportOptionsCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // The open list takes the focus for a while; that does not end the edit.
    if (!view()->isVisible()) m_owner.CloseEditor(0);
}

}  // namespace pagelark
