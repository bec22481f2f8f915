#include "app/window/RowTip.h"

#include <QHelpEvent>
#include <QToolTip>

#include "report/widgets/ReportCtrl.h"

namespace pagelark {

RowTip::RowTip(CReportCtrl& list, std::function<QString(int)> textOf)
    : QObject(&list), m_list(list), m_textOf(std::move(textOf)) {
    m_list.viewport()->installEventFilter(this);
}

QString RowTip::TextAt(const QPoint& at) const {
    HitTestInfo hit;
    hit.point = {at.x(), at.y()};
    const int item = m_list.HitTest(hit);
    return item >= 0 ? m_textOf(item) : QString();
}

bool RowTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_list.viewport() || event->type() != QEvent::ToolTip) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = TextAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, m_list.viewport());
    }
    return true;
}

}  // namespace pagelark
