// ReportModel: sorting and comparing, and the header events that lead to them.
#include <algorithm>

#include "report/model/QuickSort.h"
#include "report/model/ReportModel.h"
#include "report/model/SubItemSegments.h"

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
    const CheckOnExit check(*this);
    if (IsVirtual() || !m_columns.IsActive(subItem)) return 0;
    if (!IsTree() && m_rows.Empty()) return 0;
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
        // A copy is sorted, so a caller comparison that reads the rows finds them as they were.
        std::vector<int> order = m_order.Items();
        if (m_compare) {
            QuickSort(order, [&](int a, int b) { return CompareItems(a, subItem, b, subItem); });
        } else {
            // Each subitem is read once instead of once per comparison; the order is the same.
            std::vector<SortKey> keys(m_rows.Size());
            for (size_t item = 0; item < keys.size(); ++item)
                keys[item] = ReadKey(*this, static_cast<int>(item), subItem);
            QuickSort(order, [&](int a, int b) {
                const int result =
                    CompareKeys(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
                return ascending ? result : -result;
            });
        }
        m_order.Items() = std::move(order);
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
    if (m_rows.Empty()) return 0;
    int width = 0;
    for (size_t item = 0; item < m_rows.Size(); ++item) {
        const ItemEntry& entry = m_rows[item];
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

void ReportModel::ReloadColumns() {
    m_columns.Reload();
    m_view->ColumnsChanged();
    m_view->RefillColumnChooser();
}

}  // namespace pagelark
