#include "report/widgets/ReportOptionsEdit.h"

#include <QKeyEvent>

#include "report/widgets/ReportOptionsCtrl.h"

namespace pagelark {

CReportOptionsEdit::CReportOptionsEdit(CReportOptionsCtrl& owner, QWidget* parent)
    : QLineEdit(parent), m_owner(owner) {}

void CReportOptionsEdit::keyPressEvent(QKeyEvent* event) {
    if (!m_owner.EditorKey(*event)) QLineEdit::keyPressEvent(event);
}

void CReportOptionsEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    m_owner.CloseEditor(0);
}

}  // namespace pagelark
