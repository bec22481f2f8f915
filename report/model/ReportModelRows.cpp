// ReportModel: inserting and deleting rows, display rows, the row string and
// the tree's expand and collapse.
#include <algorithm>
#include <new>

#include "report/model/ReportModel.h"
#include "report/model/SubItemSegments.h"

namespace pagelark {

int ReportModel::InsertItem(const ReportItemInfo& info) {
    const CheckOnExit check(*this);
    if (m_style & (RCS_VIRTUAL | RCS_TREEFIXED)) return -2;
    if (info.item < 0) return -2;
    const int count = static_cast<int>(m_rows.Size());
    const int index = info.item > count ? count : info.item;
    ItemEntry entry = DefaultRow();
    ApplyRecord(entry, info);
    const int indent = entry.indent;
    int row = index;
    try {
        if (IsTree()) {
            InsertTree(std::move(entry), index, indent, row);
        } else {
            m_rows.Insert(static_cast<size_t>(index), std::move(entry));
            try {
                m_order.Insert(index);
            } catch (const std::bad_alloc&) {
                m_rows.Erase(static_cast<size_t>(index));
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
    m_rows.Insert(static_cast<size_t>(row), std::move(entry));
    m_tree.Attach(m_rows, row, parent, childIndex);
}

int ReportModel::DeleteItem(int item) {
    const CheckOnExit check(*this);
    if (m_style & (RCS_VIRTUAL | RCS_TREEFIXED)) return -2;
    if (item < 0 || item >= static_cast<int>(m_rows.Size())) return 0;
    std::vector<ReportNotify> deleted;
    if (IsTree()) {
        // A branch goes with its children; each removed item is reported.
        const int count = m_tree.Remove(m_rows, item, [&](const ItemEntry& entry, int row) {
            ReportNotify& record = deleted.emplace_back();
            record.item = row >= 0 ? row : -2;
            record.param = entry.data;
            record.treeNode = entry.node;
        });
        m_selection.OnRemove(item, count);
        RemovedRows(item, count);
    } else {
        ReportNotify& record = deleted.emplace_back();
        record.item = item;
        record.param = m_rows[static_cast<size_t>(item)].data;
        m_rows.Erase(static_cast<size_t>(item));
        const int row = m_order.Remove(item);
        m_selection.OnRemove(item);
        RemovedRows(row, 1);
    }
    SendDeleted(deleted);
    return 1;
}

void ReportModel::RemovedRows(int row, int count) {
    if (m_focusRow >= row + count) {
        m_focusRow -= count;  // the same item, higher up
    } else if (m_focusRow >= row) {
        // The focused item went, and its mark with it. The row above takes the
        // focus, never past the last row; without the new-item row the pseudo
        // item is not shown, so it cannot hold the focus.
        m_focusRow = -2;
        const int rows = GetRowCount();
        int focus = std::min(row - 1, rows - 1);
        if (focus == -1 && !(m_style & RCS_NEWITEMROW)) focus = rows > 0 ? 0 : -2;
        SetRowMarks(focus, IsSelectedRow(focus), true);
    }
    m_view->RowsChanged();
}

void ReportModel::SendDeleted(std::vector<ReportNotify>& records) {
    for (ReportNotify& record : records)
        Notify(record.header, RCN_ITEMDELETED);
}

int ReportModel::DeleteAllItems() {
    const CheckOnExit check(*this);
    if (IsVirtual()) return 0;
    std::vector<ReportNotify> deleted;
    deleted.reserve(m_rows.Size());
    if (IsTree()) {
        m_tree.ForEach(m_rows, [&](const ItemEntry& entry, int row) {
            ReportNotify& record = deleted.emplace_back();
            record.item = row >= 0 ? row : -2;
            record.param = entry.data;
            record.treeNode = entry.node;
        });
    } else {
        for (size_t item = 0; item < m_rows.Size(); ++item) {
            ReportNotify& record = deleted.emplace_back();
            record.item = static_cast<int>(item);
            record.param = m_rows[item].data;
        }
    }
    // The selection list empties and the focus goes, the pseudo item's included.
    SetRowMarks(-1, false, false);
    m_rows.Clear();
    m_order.Reset(0);
    m_selection.Clear();
    m_tree.Clear();
    m_focusRow = -2;
    ScrollToTop();
    m_view->RowsChanged();
    SendDeleted(deleted);
    return 1;
}

void ReportModel::ChangeMode(uint32_t style) {
    const Mode from = ModeOf(m_style);
    const Mode to = ModeOf(style);
    if (from == Mode::Virtual || to == Mode::Virtual) {
        // The parent's rows and the stored ones are different items: only the
        // pseudo item, which both share, keeps its marks.
        if (m_focusRow >= 0) SetRowMarks(m_focusRow, IsSelectedRow(m_focusRow), false);
        const std::vector<int> selected(m_selection.Items().begin(), m_selection.Items().end());
        for (const int item : selected)
            if (item >= 0) SetRowMarks(GetRowFromItem(item), false, false);
    }
    // The marks that stay follow their items; rows are items in the new mode.
    const int focusItem = GetItemFromRow(m_focusRow);
    const int anchorItem = GetItemFromRow(m_anchor);
    if (from == Mode::Tree) {
        const std::vector<int> newIndex = m_tree.Flatten(m_rows);
        const auto map = [&](int item) {
            return item >= 0 ? newIndex[static_cast<size_t>(item)] : item;
        };
        m_selection.Remap(map);
        m_focusRow = map(focusItem);
        m_anchor = anchorItem >= 0 ? map(anchorItem) : m_anchor;
    } else {
        m_focusRow = focusItem;
        if (anchorItem >= 0) m_anchor = anchorItem;
    }
    m_style = style;
    m_order.Reset(to == Mode::Flat ? static_cast<int>(m_rows.Size()) : 0);
    if (to == Mode::Tree) m_tree.Build(m_rows);
    m_cache.Invalidate(-2);
    ScrollToTop();
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
    // A copy: in virtual mode every read asks the parent, which may change the columns.
    const std::vector<int> columns = m_columns.Active();
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
    const CheckOnExit check(*this);
    const auto collapsed = [&] {
        return IsTree() && item >= 0 && item < static_cast<int>(m_rows.Size()) &&
               ItemHasChildren(item) && !m_tree.IsExpanded(m_rows, item);
    };
    if (!collapsed()) return 0;
    if (notify && NotifyItem(RCN_EXPANDING, item, -1, m_rows[static_cast<size_t>(item)].state))
        return 0;
    if (!collapsed()) return 0;  // the parent changed the tree while it was asked
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
    const CheckOnExit check(*this);
    const auto expanded = [&] {
        return IsTree() && item >= 0 && item < static_cast<int>(m_rows.Size()) &&
               ItemHasChildren(item) && m_tree.IsExpanded(m_rows, item);
    };
    if (!expanded()) return 0;
    if (notify && NotifyItem(RCN_EXPANDING, item, -1, m_rows[static_cast<size_t>(item)].state))
        return 0;
    if (!expanded()) return 0;  // the parent changed the tree while it was asked
    // Hidden rows have no index, so they leave the selection and give up the focus.
    const int count = m_tree.ShownBelow(m_rows, item);
    const int end = item + 1 + count;
    if (m_focusRow > item && m_focusRow < end) SetRowMarks(item, IsSelectedRow(item), true);
    for (int row = item + 1; row < end; ++row)
        SetRowMarks(row, false, false);
    m_tree.Collapse(m_rows, item);
    m_selection.OnRemove(item + 1, count);
    if (m_focusRow >= end) m_focusRow -= count;
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
