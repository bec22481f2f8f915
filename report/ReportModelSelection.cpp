// ReportModel: selection and focus, sorting and comparing, and the header
// events that lead to them.
#include <algorithm>

#include "report/QuickSort.h"
#include "report/ReportModel.h"
#include "report/SubItemSegments.h"

namespace pagelark {

namespace {

// What a comparison looks at in one subitem.
struct SortKey {
    bool hasText = false;
    std::string text;
    int check = -1;
    int image = -1;
};

int Sign(long long value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

int CompareKeys(const SortKey& a, const SortKey& b) {
    if (!a.hasText && !b.hasText) {
        if (a.check >= 0 || b.check >= 0) return Sign(static_cast<long long>(a.check) - b.check);
        return Sign(static_cast<long long>(a.image) - b.image);
    }
    // Byte order is character order for UTF-8, and it is case-sensitive.
    return Sign(a.text.compare(b.text));
}

}  // namespace

// ---- Selection and focus

uint32_t ReportModel::StateOf(int item) {
    if (!IsVirtual() || item == -1) {
        const ItemEntry* entry = Stored(item);
        return entry ? entry->state : 0;
    }
    uint32_t state = m_selection.Contains(item) ? RIS_SELECTED : 0;
    if (item == GetItemFromRow(m_focusRow)) state |= RIS_FOCUSED;
    return state;
}

void ReportModel::StoreState(int item, uint32_t state) {
    if (IsVirtual() && item != -1) return;  // kept in the selection list and the focus row
    if (ItemEntry* entry = Stored(item)) entry->state = state;
}

bool ReportModel::ChangeSelection(int item, bool select, bool toggle, bool notify) {
    const uint32_t old = StateOf(item);
    const uint32_t state = toggle   ? old ^ RIS_SELECTED
                           : select ? old | RIS_SELECTED
                                    : old & ~RIS_SELECTED;
    if (state == old) return false;
    if (notify && NotifyItem(RCN_SELCHANGING, item, -1, state)) return false;
    if (state & RIS_SELECTED) {
        m_selection.Add(item);
    } else if (toggle) {
        m_selection.Remove(item);  // deselections outside a range are swept up by the caller
    }
    StoreState(item, state);
    if (notify) NotifyItem(RCN_SELCHANGED, item, -1, state);
    return true;
}

void ReportModel::MoveFocusTo(int row) {
    if (m_focusRow != row && m_focusRow != -2) {
        const int old = GetItemFromRow(m_focusRow);
        if (old != -2) StoreState(old, StateOf(old) & ~RIS_FOCUSED);
        m_view->InvalidateRow(m_focusRow);
    }
    m_focusRow = row;
    const int item = GetItemFromRow(row);
    if (item != -2) StoreState(item, StateOf(item) | RIS_FOCUSED);
}

void ReportModel::SelectItems(int first, int last, bool select, bool keepOthers, bool toggle,
                              bool notify) {
    MoveFocusTo(first);
    const bool single = (m_style & RCS_SINGLESELECT) != 0;
    if (single) last = first;
    if (first > last) std::swap(first, last);
    if (select)
        for (int row = first; row <= last; ++row) {
            const int item = GetItemFromRow(row);
            if (item != -2) ChangeSelection(item, true, toggle, notify);
        }
    for (int row = std::max(first, -1); row <= last && row < GetRowCount(); ++row)
        m_view->InvalidateRow(row);
    if (!keepOthers || single) {
        const std::vector<int> selected(m_selection.Items().begin(), m_selection.Items().end());
        std::vector<int> dropped;
        for (const int item : selected) {
            const int row = GetRowFromItem(item);
            if (row >= first && row <= last) continue;
            if (!ChangeSelection(item, false, false, notify)) continue;  // vetoed: stays
            dropped.push_back(item);
            m_view->InvalidateRow(row);
        }
        std::sort(dropped.begin(), dropped.end());
        m_selection.Retain(
            [&](int item) { return !std::binary_search(dropped.begin(), dropped.end(), item); });
    }
    m_view->UpdateNow();
}

int ReportModel::GetFirstSelectedItem() {
    return GetNextSelectedItem(-2);
}

int ReportModel::GetNextSelectedItem(int item) {
    const int from = std::max(item + 1, -1);
    if (from == -1 && (m_pseudo.state & RIS_SELECTED)) return -1;
    if (IsVirtual()) {
        int best = -2;
        for (const int i : m_selection.Items())
            if (i >= from && (best == -2 || i < best)) best = i;
        return best;
    }
    for (int i = std::max(from, 0); i < static_cast<int>(m_rows.size()); ++i)
        if (m_rows[static_cast<size_t>(i)].state & RIS_SELECTED) return i;
    return -2;
}

// ---- Sorting

void ReportModel::SetCompareFunction(CompareFunction compare, intptr_t value) {
    m_compare = std::move(compare);
    m_compareValue = value;
}

static SortKey ReadKey(ReportModel& model, int item, int subItem) {
    char buffer[ReportModel::kTextLimit + 1];
    ReportItemInfo info;
    info.item = item;
    info.subItem = subItem;
    info.text = buffer;
    info.textMax = sizeof buffer;
    SortKey key;
    if (!model.GetItem(info)) return key;
    key.hasText = (info.mask & RIF_TEXT) != 0;
    if (key.hasText) key.text = buffer;
    key.check = info.mask & RIF_CHECK ? info.check : -1;
    key.image = info.mask & RIF_IMAGE ? info.image : -1;
    return key;
}

int ReportModel::CompareItems(int itemA, int subItemA, int itemB, int subItemB) {
    if (m_compare) return m_compare(itemA, subItemA, itemB, subItemB, m_compareValue);
    const int result =
        CompareKeys(ReadKey(*this, itemA, subItemA), ReadKey(*this, itemB, subItemB));
    return m_sortAscending ? result : -result;
}

int ReportModel::SortItems(int subItem, bool ascending) {
    if (IsVirtual() || !m_columns.IsActive(subItem)) return 0;
    if (!IsTree() && m_rows.empty()) return 0;
    m_columns.Header()->SetSortColumn(m_columns.HeaderIndexOf(subItem), ascending);
    m_sortAscending = ascending;
    if (IsTree()) {
        const std::vector<int> oldRows =
            m_tree.Sort(m_rows, [&](int a, int b) { return CompareItems(a, subItem, b, subItem); });
        std::vector<int> newRow(oldRows.size());
        for (size_t row = 0; row < oldRows.size(); ++row)
            newRow[static_cast<size_t>(oldRows[row])] = static_cast<int>(row);
        const auto map = [&](int row) {
            return row >= 0 && row < static_cast<int>(newRow.size())
                       ? newRow[static_cast<size_t>(row)]
                       : row;
        };
        m_selection.Remap(map);
        m_focusRow = map(m_focusRow);
        m_anchor = map(m_anchor);
    } else {
        const int focusItem = GetItemFromRow(m_focusRow);
        if (m_compare) {
            QuickSort(m_order.Items(),
                      [&](int a, int b) { return CompareItems(a, subItem, b, subItem); });
        } else {
            // Each subitem is read once instead of once per comparison; the order is the same.
            std::vector<SortKey> keys(m_rows.size());
            for (size_t item = 0; item < keys.size(); ++item)
                keys[item] = ReadKey(*this, static_cast<int>(item), subItem);
            QuickSort(m_order.Items(), [&](int a, int b) {
                const int result =
                    CompareKeys(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
                return ascending ? result : -result;
            });
        }
        m_order.MarkStale();
        if (focusItem >= 0) {
            m_focusRow = GetRowFromItem(focusItem);
            m_view->EnsureVisible(m_focusRow);
        }
    }
    m_view->InvalidateAll();
    return 1;
}

// ---- Header events

int ReportModel::OnColumnClick(int headerIndex) {
    const int subItem = m_columns.SubItemOfHeader(headerIndex);
    if (subItem < 0) return 0;
    ReportNotify record;
    record.keys = static_cast<uint32_t>(subItem);
    if (Notify(record.header, RCN_COLUMNCLICK)) return 0;
    if (m_style & (RCS_VIRTUAL | RCS_NOSORT)) return 0;
    bool ascending = false;
    const int sorted = m_columns.Header()->GetSortColumn(&ascending);
    return SortItems(subItem, sorted == headerIndex ? !ascending : true);
}

int ReportModel::OnDividerDblClick(int headerIndex, const TextWidthFunction& textWidth,
                                   int imageWidth, int checkWidth) {
    const int subItem = m_columns.SubItemOfHeader(headerIndex);
    if (subItem < 0) return 0;
    ReportNotify record;
    record.keys = static_cast<uint32_t>(subItem);
    if (Notify(record.header, RCN_DIVIDERDBLCLICK)) return 0;
    if (IsVirtual() || (m_columns.Def(subItem).format & RCF_FIXEDWIDTH)) return 0;
    // With no rows there is nothing to fit to; a zero width would hide the column.
    if (m_rows.empty()) return 0;
    int width = 0;
    for (const ItemEntry& entry : m_rows) {
        const Segment segment = SubItemSegments::Read(entry.subItems, subItem);
        int cell = kCellMargin;
        if (segment.image >= 0) cell += imageWidth + kCellMargin;
        if (segment.check >= 0) cell += checkWidth + kCellMargin;
        cell += textWidth(segment.length >= 0 ? segment.text : std::string(),
                          (entry.state & RIS_BOLD) != 0) +
                kCellMargin;
        width = std::max(width, cell);
    }
    return SetSubItemWidth(subItem, width);
}

void ReportModel::OnHeaderItemChanged(int headerIndex, bool format, bool width) {
    const int subItem = m_columns.OnHeaderItemChanged(headerIndex, format, width);
    m_view->ColumnsChanged();
    NotifyItem(RCN_COLUMNCHANGED, -2, subItem, 0);
}

}  // namespace pagelark
