#include "tests/report/model/MemoryHeader.h"

#include <algorithm>

namespace pagelark {

int MemoryHeader::GetItemCount() const {
    return static_cast<int>(m_items.size());
}

int MemoryHeader::InsertItem(int index, const HeaderItem& item) {
    if (m_failNextInsert) {
        m_failNextInsert = false;
        return -1;
    }
    index = std::clamp(index, 0, GetItemCount());
    for (int& i : m_order)
        if (i >= index) ++i;
    const int position = std::clamp(item.order, 0, static_cast<int>(m_order.size()));
    m_order.insert(m_order.begin() + position, index);
    m_items.insert(m_items.begin() + index, item);
    m_extras.insert(m_extras.begin() + index, HeaderItemExtra{});
    return index;
}

bool MemoryHeader::DeleteItem(int index) {
    if (!Valid(index)) return false;
    m_items.erase(m_items.begin() + index);
    m_extras.erase(m_extras.begin() + index);
    std::erase(m_order, index);
    for (int& i : m_order)
        if (i > index) --i;
    return true;
}

bool MemoryHeader::GetItem(int index, HeaderItem& item) const {
    if (!Valid(index)) return false;
    item = m_items[static_cast<size_t>(index)];
    const auto at = std::find(m_order.begin(), m_order.end(), index);
    item.order = static_cast<int>(at - m_order.begin());
    return true;
}

bool MemoryHeader::SetItemWidth(int index, int width) {
    if (!Valid(index)) return false;
    m_items[static_cast<size_t>(index)].width = width;
    return true;
}

bool MemoryHeader::SetItemFormat(int index, uint32_t format) {
    if (!Valid(index)) return false;
    m_items[static_cast<size_t>(index)].format = format;
    return true;
}

bool MemoryHeader::SetItemData(int index, int data) {
    if (!Valid(index)) return false;
    m_items[static_cast<size_t>(index)].data = data;
    return true;
}

std::vector<int> MemoryHeader::GetOrderArray() const {
    return m_order;
}

bool MemoryHeader::SetItemExtra(int index, const HeaderItemExtra& extra) {
    if (!Valid(index)) return false;
    m_extras[static_cast<size_t>(index)] = extra;
    // Without a font there is no content width to fit; the limits still apply.
    if (extra.flags & HeaderItemExtra::FixedWidth) return true;
    int& width = m_items[static_cast<size_t>(index)].width;
    width = std::max(width, extra.minWidth);
    if (extra.maxWidth > 0) width = std::min(width, extra.maxWidth);
    return true;
}

void MemoryHeader::SetSortColumn(int index, bool ascending) {
    m_sortColumn = index;
    m_sortAscending = ascending;
}

int MemoryHeader::GetSortColumn(bool* ascending) const {
    if (ascending) *ascending = m_sortAscending;
    return m_sortColumn;
}

bool MemoryHeader::GetItemExtra(int index, HeaderItemExtra& extra) const {
    if (!Valid(index)) return false;
    extra = m_extras[static_cast<size_t>(index)];
    return true;
}

}  // namespace pagelark
