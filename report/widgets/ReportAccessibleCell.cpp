#include "report/widgets/ReportAccessibleCell.h"

#include <QWidget>
#include <QWindow>

#include "controls/FlatHeaderCtrl.h"
#include "report/widgets/ReportAccessible.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {

ReportAccessibleCell::ReportAccessibleCell(CReportCtrl* list, int row, int column)
    : m_list(list), m_row(row), m_column(column) {}

int ReportAccessibleCell::Item() const {
    return m_list->Model().GetItemFromRow(m_row);
}

int ReportAccessibleCell::SubItem() const {
    const auto& active = m_list->Model().Columns().Active();
    return m_column < static_cast<int>(active.size()) ? active[static_cast<size_t>(m_column)] : -1;
}

bool ReportAccessibleCell::isValid() const {
    return m_list && m_row >= -1 && m_row < m_list->Model().GetRowCount() && m_column >= 0 &&
           SubItem() >= 0;
}

QWindow* ReportAccessibleCell::window() const {
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ReportAccessibleCell::parent() const {
    return m_list ? QAccessible::queryAccessibleInterface(m_list.data()) : nullptr;
}

QString ReportAccessibleCell::text(QAccessible::Text type) const {
    if (!isValid()) return {};
    if (m_row == -1) {
        if (type != QAccessible::Name) return {};
        return QString::fromUtf8(m_list->Model().Columns().Def(SubItem()).text);
    }
    ReportItemInfo info;
    info.item = Item();
    info.subItem = SubItem();
    char buffer[256] = {};
    info.text = buffer;
    info.textMax = sizeof buffer;
    m_list->GetItem(info);
    if (type == QAccessible::Name) return QString::fromUtf8(buffer);
    if (type == QAccessible::Description && (info.mask & RIF_IMAGE))
        return m_list->ImageMeaning(info.image);
    return {};
}

QRect ReportAccessibleCell::rect() const {
    if (!isValid()) return {};
    if (m_row == -1) {
        CFlatHeaderCtrl* header = m_list->GetHeaderCtrl();
        const int index = m_list->Model().Columns().HeaderIndexOf(SubItem());
        const QRect local = header->State().ItemRect(index);
        return QRect(header->mapToGlobal(local.topLeft()), local.size());
    }
    QRect local;
    if (!m_list->GetItemRect(Item(), SubItem(), local, CellPart::Cell)) return {};
    return QRect(m_list->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role ReportAccessibleCell::role() const {
    return m_row == -1 ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State ReportAccessibleCell::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    if (m_row == -1) return state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = m_list->hasFocus() && m_row == m_list->Model().GetFocusRow();
    if (rect().isEmpty()) state.invisible = true;
    return state;
}

void* ReportAccessibleCell::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

QList<QAccessibleInterface*> ReportAccessibleCell::columnHeaderCells() const {
    auto* table = dynamic_cast<ReportAccessible*>(parent());
    if (!table || m_row == -1) return {};
    return {table->HeaderCell(m_column)};
}

bool ReportAccessibleCell::isSelected() const {
    if (!isValid() || m_row == -1) return false;
    ReportItemInfo info;
    info.item = Item();
    m_list->GetItem(info);
    return info.state & RIS_SELECTED;
}

}  // namespace pagelark
