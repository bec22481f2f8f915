// CMainDlg: the size-change layout and the preview band under a row.

#include <QPainter>
#include <QResizeEvent>

#include "app/window/MainDlg.h"
#include "controls/platform/DlgItem.h"
#include "engine/collect/ItemNumber.h"
#include "report/model/ReportNotify.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

// Which way each control follows a change of the client size.
constexpr int kMoveBoth[] = {CMainDlg::IDC_ON_TOP, CMainDlg::IDC_START, CMainDlg::IDC_PROGRESS};
constexpr int kMoveRight[] = {CMainDlg::IDC_HELP, CMainDlg::IDC_LOAD, CMainDlg::IDC_SAVE,
                              CMainDlg::IDC_SNAP};
constexpr int kMoveDown[] = {CMainDlg::IDC_COPYRIGHT, CMainDlg::IDC_LANGUAGE};

}  // namespace

void CMainDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isMinimized()) return;
    LayoutAfterResize(event->size());
    PlaceWatchStatus();
}

void CMainDlg::LayoutAfterResize(const QSize& client) {
    if (m_lastClient.width() > 0 && m_lastClient.height() > 0) {
        const int dx = client.width() - m_lastClient.width();
        const int dy = client.height() - m_lastClient.height();
        const auto move = [this](const auto& ids, int x, int y) {
            for (const int id : ids) {
                QWidget* control = GetDlgItem(this, id);
                control->move(control->pos() + QPoint(x, y));
                control->update();
            }
        };
        move(kMoveBoth, dx, dy);
        move(kMoveRight, dx, 0);
        move(kMoveDown, 0, dy);
        m_list->resize(m_list->size() + QSize(dx, dy));
        m_list->SetSubItemWidth(2, m_list->GetSubItemWidth(2) + dx);
    }
    if (client.width() > 0 && client.height() > 0) m_lastClient = client;
}

int CMainDlg::OnReportNotify(NotifyHeader& record) {
    switch (record.code) {
        case RCN_DRAWPREVIEW:
            DrawPreview(RecordOf<PreviewNotify>(record));
            return 0;
        case RCN_DBLCLICK:
            OnDetail();
            return 0;
        case RCN_SELCHANGED: {
            const ReportNotify& notify = RecordOf<ReportNotify>(record);
            if (notify.state & RIS_SELECTED) OnRowSelected(notify.item, notify.param);
            return 0;
        }
        default:
            return 0;
    }
}

// The gathered links under the row: the preview text, inset 40 px on the left.
void CMainDlg::DrawPreview(const PreviewNotify& record) {
    const std::optional<std::string> text = m_items.results.Preview(ItemKey(record.param));
    if (!text) return;
    auto* painter = static_cast<QPainter*>(record.context);
    const bool lit = (record.state & RIS_SELECTED) && m_list->HasFocus();
    painter->setPen(m_list->palette().color(lit ? QPalette::HighlightedText : QPalette::Highlight));
    const QRect rect = QRect(QPoint(record.rect.left, record.rect.top),
                             QPoint(record.rect.right - 1, record.rect.bottom - 1))
                           .adjusted(40, 2, -4, -2);
    const QFontMetrics metrics(painter->font());
    QStringList lines = QString::fromStdString(*text).split('\n');
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, rect.width());
    painter->drawText(rect, Qt::TextExpandTabs, lines.join('\n'));
}

}  // namespace pagelark
