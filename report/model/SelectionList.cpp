#include "report/model/SelectionList.h"

#include <algorithm>

namespace pagelark {

const std::unordered_map<int, std::list<int>::const_iterator>& SelectionList::Index() const {
    if (m_indexStale) {
        m_index.clear();
        m_index.reserve(m_items.size());
        // The list never holds an item twice, so every entry is its own.
        for (auto at = m_items.cbegin(); at != m_items.cend(); ++at)
            m_index.emplace(*at, at);
        m_indexStale = false;
    }
    return m_index;
}

bool SelectionList::Contains(int item) const {
    return Index().contains(item);
}

void SelectionList::Add(int item) {
    if (Contains(item)) return;
    m_items.push_back(item);
    m_index.emplace(item, std::prev(m_items.end()));
    m_sortedStale = true;
}

void SelectionList::Remove(int item) {
    Index();
    const auto found = m_index.find(item);
    if (found == m_index.end()) return;
    m_items.erase(found->second);
    m_index.erase(found);
    m_sortedStale = true;
}

void SelectionList::Clear() {
    m_items.clear();
    m_index.clear();
    m_indexStale = false;
    m_sorted.clear();
    m_sortedStale = false;
}

int SelectionList::NextFrom(int item) const {
    if (m_sortedStale) {
        m_sorted.assign(m_items.begin(), m_items.end());
        std::sort(m_sorted.begin(), m_sorted.end());
        m_sortedStale = false;
    }
    const auto at = std::lower_bound(m_sorted.begin(), m_sorted.end(), item);
    return at == m_sorted.end() ? -2 : *at;
}

void SelectionList::Renumbered() {
    m_indexStale = true;
    m_sortedStale = true;
}

void SelectionList::Remap(const std::function<int(int)>& newIndex) {
    for (int& i : m_items)
        i = newIndex(i);
    Renumbered();
}

void SelectionList::OnInsert(int item, int count) {
    for (int& i : m_items)
        if (i >= item) i += count;
    Renumbered();
}

void SelectionList::OnRemove(int item, int count) {
    m_items.remove_if([&](int i) { return i >= item && i < item + count; });
    for (int& i : m_items)
        if (i >= item + count) i -= count;
    Renumbered();
}

}  // namespace pagelark
