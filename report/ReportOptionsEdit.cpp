#include "report/ReportOptionsEdit.h"

#include <QKeyEvent>

#include "report/ReportOptionsCtrl.h"

namespace pagelark {

CReportOptionsEdit::CReportOptionsEdit(CReportOptionsCtrl& owner, QWidget* parent)
    : QLineEdit(parent), m_owner(owner) {}

void CReportOptionsEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_owner.CloseEditor(13);
    } else if (event->key() == Qt::Key_Escape) {
        m_owner.CloseEditor(27);
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

void CReportOptionsEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    m_owner.CloseEditor(0);
}

}  // namespace pagelark
