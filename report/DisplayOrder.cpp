#include "report/DisplayOrder.h"

#include <cstddef>

namespace pagelark {

int DisplayOrder::ItemAt(int row) const {
    return row >= 0 && row < Size() ? m_items[static_cast<size_t>(row)] : -2;
}

int DisplayOrder::RowOf(int item) const {
    if (m_stale) {
        m_rows.clear();
        m_rows.reserve(m_items.size());
        for (size_t row = 0; row < m_items.size(); ++row)
            m_rows[m_items[row]] = static_cast<int>(row);
        m_stale = false;
    }
    const auto found = m_rows.find(item);
    return found == m_rows.end() ? -2 : found->second;
}

void DisplayOrder::Insert(int item) {
    // The slot comes first: if it cannot be made, nothing has changed yet.
    const bool appending = item >= Size();
    m_items.insert(m_items.begin() + item, -1);
    // Appending raises nothing, so filling a list stays linear overall.
    if (!appending)
        for (int& i : m_items)
            if (i >= item) ++i;
    m_items[static_cast<size_t>(item)] = item;
    m_stale = true;
}

void DisplayOrder::Remove(int item) {
    const int row = RowOf(item);
    if (row >= 0) m_items.erase(m_items.begin() + row);
    for (int& i : m_items)
        if (i > item) --i;
    m_stale = true;
}

void DisplayOrder::Clear() {
    m_items.clear();
    m_stale = true;
}

}  // namespace pagelark
