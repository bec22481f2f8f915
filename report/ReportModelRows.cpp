// ReportModel: inserting and deleting rows, display rows, the row string and
// the tree's expand and collapse.
#include <algorithm>
#include <new>

#include "report/ReportModel.h"
#include "report/SubItemSegments.h"

namespace pagelark {

int ReportModel::InsertItem(const ReportItemInfo& info) {
    if (m_style & (RCS_VIRTUAL | RCS_TREEFIXED)) return -2;
    if (info.item < 0) return -2;
    const int count = static_cast<int>(m_rows.size());
    const int index = info.item > count ? count : info.item;
    ItemEntry entry = DefaultRow();
    ApplyRecord(entry, info);
    const int indent = entry.indent;
    int row = index;
    try {
        if (IsTree()) {
            InsertTree(std::move(entry), index, indent, row);
        } else {
            m_rows.insert(m_rows.begin() + index, std::move(entry));
            try {
                m_order.Insert(index);
            } catch (const std::bad_alloc&) {
                m_rows.erase(m_rows.begin() + index);
                return -2;
            }
        }
    } catch (const std::bad_alloc&) {
        return -2;
    }
    m_view->RowsChanged();
    m_selection.OnInsert(row);
    if (m_focusRow >= row) ++m_focusRow;
    return row;
}

void ReportModel::InsertTree(ItemEntry entry, int position, int indent, int& row) {
    int parent = 0;
    int childIndex = 0;
    row = m_tree.Place(m_rows, position, indent, parent, childIndex);
    m_rows.insert(m_rows.begin() + row, std::move(entry));
    m_tree.Attach(m_rows, row, parent, childIndex);
}

int ReportModel::DeleteItem(int item) {
    if (m_style & (RCS_VIRTUAL | RCS_TREEFIXED)) return -2;
    if (item < 0 || item >= static_cast<int>(m_rows.size())) return 0;
    if (IsTree()) {
        // A branch goes with its children; each removed item is reported.
        const int count = m_tree.Remove(m_rows, item, [this](const ItemEntry& entry, int row) {
            ReportNotify record;
            record.item = row >= 0 ? row : -2;
            record.param = entry.data;
            record.treeNode = entry.node;
            Notify(record.header, RCN_ITEMDELETED);
        });
        m_selection.OnRemove(item, count);
        RemovedRows(item, count);
        return 1;
    }
    NotifyItem(RCN_ITEMDELETED, item, -1, 0);
    // The parent may have changed the rows while it was told.
    if (item >= static_cast<int>(m_rows.size())) return 0;
    const int row = m_order.RowOf(item);
    m_rows.erase(m_rows.begin() + item);
    m_order.Remove(item);
    m_selection.OnRemove(item);
    RemovedRows(row, 1);
    return 1;
}

void ReportModel::RemovedRows(int row, int count) {
    const int rows = GetRowCount();
    int focus = m_focusRow;
    if (focus >= row + count) {
        focus -= count;  // the same item, higher up
    } else if (focus >= row) {
        // The focused item went: the row above takes the focus, never past the last row.
        focus = std::min(row - 1, rows - 1);
        // Without the new-item row the pseudo item is not shown, so it cannot hold the focus.
        if (focus == -1 && !(m_style & RCS_NEWITEMROW)) focus = rows > 0 ? 0 : -2;
        if (ItemEntry* entry = Stored(GetItemFromRow(focus))) entry->state |= RIS_FOCUSED;
    }
    m_focusRow = focus;
    m_view->RowsChanged();
}

int ReportModel::DeleteAllItems() {
    if (IsVirtual()) return 0;
    if (IsTree()) {
        m_tree.ForEach(m_rows, [this](const ItemEntry& entry, int row) {
            ReportNotify record;
            record.item = row >= 0 ? row : -2;
            record.param = entry.data;
            record.treeNode = entry.node;
            Notify(record.header, RCN_ITEMDELETED);
        });
    } else {
        for (int item = 0; item < static_cast<int>(m_rows.size()); ++item)
            NotifyItem(RCN_ITEMDELETED, item, -1, 0);
    }
    m_rows.clear();
    m_order.Clear();
    m_selection.Clear();
    m_tree.Clear();
    m_focusRow = -2;
    m_view->ScrollToTop();
    m_view->RowsChanged();
    return 1;
}

int ReportModel::GetRowCount() const {
    return GetItemCount();
}

int ReportModel::GetItemFromRow(int row) const {
    if (row == -1) return -1;
    if (row < 0 || row >= GetRowCount()) return -2;
    return IsVirtual() || IsTree() ? row : m_order.ItemAt(row);
}

int ReportModel::GetRowFromItem(int item) const {
    if (item == -1) return -1;
    if (item < 0 || item >= GetItemCount()) return -2;
    return IsVirtual() || IsTree() ? item : m_order.RowOf(item);
}

std::string ReportModel::GetItemRowString(int item, char separator) {
    std::string out;
    const std::vector<int>& columns = m_columns.Active();
    for (size_t k = 0; k < columns.size(); ++k) {
        char buffer[kTextLimit + 1];
        ReportItemInfo info;
        info.item = item;
        info.subItem = columns[k];
        info.text = buffer;
        info.textMax = sizeof buffer;
        if (!GetItem(info)) return {};
        if (k == 0 && IsTree()) {
            out.append(static_cast<size_t>(2 * GetItemDepth(item)), ' ');
            out += !ItemHasChildren(item) ? ' ' : m_tree.IsExpanded(m_rows, item) ? '-' : '+';
        }
        if (info.mask & RIF_TEXT) {
            for (const char* c = buffer; *c; ++c)
                out += *c == separator ? ' ' : *c;
        } else if (info.mask & RIF_IMAGE) {
            out += std::to_string(info.image);
        } else if (info.mask & RIF_CHECK) {
            out += std::to_string(info.check);
        }
        out += k + 1 < columns.size() ? separator : '\n';
    }
    return out;
}

// ---- Tree mode

int ReportModel::Expand(int item, bool notify) {
    if (!IsTree() || item < 0 || item >= static_cast<int>(m_rows.size())) return 0;
    if (!ItemHasChildren(item) || m_tree.IsExpanded(m_rows, item)) return 0;
    if (notify && NotifyItem(RCN_EXPANDING, item, -1, m_rows[static_cast<size_t>(item)].state))
        return 0;
    const int count = m_tree.Expand(m_rows, item);
    m_selection.OnInsert(item + 1, count);
    if (m_focusRow > item) m_focusRow += count;
    if (m_anchor > item) m_anchor += count;
    m_view->RowsChanged();
    m_view->InvalidateAll();
    if (notify) NotifyItem(RCN_EXPANDED, item, -1, m_rows[static_cast<size_t>(item)].state);
    return 1;
}

int ReportModel::Collapse(int item, bool notify) {
    if (!IsTree() || item < 0 || item >= static_cast<int>(m_rows.size())) return 0;
    if (!m_tree.IsExpanded(m_rows, item) || !ItemHasChildren(item)) return 0;
    if (notify && NotifyItem(RCN_EXPANDING, item, -1, m_rows[static_cast<size_t>(item)].state))
        return 0;
    // Hidden rows have no index, so they leave the selection and give up the focus.
    const int end = item + 1 + m_tree.Collapse(m_rows, item);
    const int count = end - item - 1;
    m_tree.ForEachHidden([](ItemEntry& entry) { entry.state &= ~(RIS_SELECTED | RIS_FOCUSED); });
    m_selection.OnRemove(item + 1, count);
    if (m_focusRow > item && m_focusRow < end) {
        m_focusRow = item;
        m_rows[static_cast<size_t>(item)].state |= RIS_FOCUSED;
    } else if (m_focusRow >= end) {
        m_focusRow -= count;
    }
    if (m_anchor > item) m_anchor = m_anchor < end ? item : m_anchor - count;
    m_view->RowsChanged();
    m_view->InvalidateAll();
    if (notify) NotifyItem(RCN_EXPANDED, item, -1, m_rows[static_cast<size_t>(item)].state);
    return 1;
}

int ReportModel::GetItemDepth(int item) const {
    return IsTree() ? m_tree.Depth(m_rows, item) : 0;
}

bool ReportModel::ItemHasChildren(int item) const {
    return IsTree() && m_tree.HasChildren(m_rows, item);
}

}  // namespace pagelark
