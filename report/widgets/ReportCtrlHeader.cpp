// CReportCtrl: what the list does with its header's events.
#include <QFontMetricsF>
#include <QTimer>
#include <QtMath>

#include "controls/FlatHeaderCtrl.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {

bool CReportCtrl::OnHeaderBeginDrag(int, const HeaderItem&) {
    if (m_editor) EndEdit(true);
    return false;
}

// A caption dropped off the header, or onto the drop target, hides its column
// only under RCS_DRAGREMOVE; either way the header keeps its order.
bool CReportCtrl::OnHeaderEndDrag(int, const HeaderItem& pressed) {
    const int drop = m_header->GetDropState();
    if (drop == -1 || drop == 1) {
        if (m_model.GetStyle() & RCS_DRAGREMOVE) {
            const int subItem = pressed.data;
            // After the header has finished with the drag that still names the item.
            QTimer::singleShot(0, this, [this, subItem] { DeactivateSubItem(subItem); });
        }
        return true;
    }
    // The header reorders after this answer: read its order before the next paint.
    m_orderStale = true;
    QTimer::singleShot(0, this, [this] { ReadOrder(); });
    viewport()->update();
    return false;
}

void CReportCtrl::ReadOrder() {
    if (!m_orderStale) return;
    m_orderStale = false;
    m_model.ReloadColumns();
}

void CReportCtrl::OnHeaderItemChanged(int item, bool format, bool width) {
    if (m_editor) EndEdit(true);
    m_model.OnHeaderItemChanged(item, format, width);
}

void CReportCtrl::OnHeaderItemClick(int item) {
    if (m_editor) EndEdit(true);
    m_model.OnColumnClick(item);
}

void CReportCtrl::OnHeaderDividerDblClick(int item) {
    if (m_editor) EndEdit(true);
    const QFontMetricsF normal(m_font);
    const QFontMetricsF bold(m_boldFont);
    const auto textWidth = [&](const std::string& text, bool isBold) {
        const QString shown = QString::fromUtf8(text);
        return qCeil(isBold ? bold.horizontalAdvance(shown) : normal.horizontalAdvance(shown));
    };
    m_model.OnDividerDblClick(item, textWidth, m_layout.ImageSize().width(), m_layout.CheckWidth());
}

bool CReportCtrl::OnHeaderRightClick(int item) {
    ReportNotify record;
    HeaderItem header;
    record.keys = static_cast<uint32_t>(m_header->GetItem(item, header) ? header.data : -1);
    return Notify(record.header, RCN_HEADERRCLICK) != 0;
}

}  // namespace pagelark
