#pragma once

#include <functional>
#include <list>
#include <unordered_map>
#include <vector>

namespace pagelark {

// The selected items in the order they were selected. Membership is a hash
// lookup and the next selected item a binary search, so reading the state of
// every row or walking a large selection stays linear. Both indexes are
// rebuilt lazily after a renumbering.
class SelectionList {
  public:
    bool Empty() const { return m_items.empty(); }
    int Size() const { return static_cast<int>(m_items.size()); }
    bool Contains(int item) const;
    // Appends item unless it is in the list already.
    void Add(int item);
    void Remove(int item);
    void Clear();
    // The smallest item at or above `item`, -2 when there is none.
    int NextFrom(int item) const;

    // Renames every item (after rows were reordered), keeping the selection order.
    void Remap(const std::function<int(int)>& newIndex);
    // Item `item` was inserted: indexes at or above it move up.
    void OnInsert(int item, int count = 1);
    // Items item..item+count-1 were removed: they leave the list, indexes above move down.
    void OnRemove(int item, int count = 1);

    const std::list<int>& Items() const { return m_items; }

  private:
    void Renumbered();
    const std::unordered_map<int, std::list<int>::const_iterator>& Index() const;

    std::list<int> m_items;
    mutable std::unordered_map<int, std::list<int>::const_iterator> m_index;
    mutable bool m_indexStale = false;
    mutable std::vector<int> m_sorted;
    mutable bool m_sortedStale = false;
};

}  // namespace pagelark
