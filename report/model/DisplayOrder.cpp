#include "report/model/DisplayOrder.h"

#include <algorithm>
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

int DisplayOrder::Remove(int item) {
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    const int row = found == m_items.end() ? -2 : static_cast<int>(found - m_items.begin());
    if (found != m_items.end()) m_items.erase(found);
    // This pass runs over every row for each deleted one. Blocks of eight
    // branch-free steps let the compiler use vector instructions, which keeps
    // deleting a long list row by row fast.
    int* entries = m_items.data();
    const size_t count = m_items.size();
    size_t at = 0;
    for (; at + 8 <= count; at += 8) {
        int* e = entries + at;
        e[0] -= e[0] > item;
        e[1] -= e[1] > item;
        e[2] -= e[2] > item;
        e[3] -= e[3] > item;
        e[4] -= e[4] > item;
        e[5] -= e[5] > item;
        e[6] -= e[6] > item;
        e[7] -= e[7] > item;
    }
    for (; at < count; ++at)
        entries[at] -= entries[at] > item;
    m_stale = true;
    return row;
}

void DisplayOrder::Reset(int count) {
    m_items.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        m_items[static_cast<size_t>(i)] = i;
    m_stale = true;
}

}  // namespace pagelark
