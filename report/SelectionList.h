#pragma once

#include <functional>
#include <list>

namespace pagelark {

// The selected items in the order they were selected.
class SelectionList {
  public:
    bool Empty() const { return m_items.empty(); }
    int Size() const { return static_cast<int>(m_items.size()); }
    bool Contains(int item) const;
    // The caller knows the item is not in the list yet.
    void Add(int item) { m_items.push_back(item); }
    void Remove(int item);
    void Clear() { m_items.clear(); }
    // Keeps only the items for which keep() holds, in their order.
    void Retain(const std::function<bool(int)>& keep);

    // Renames every item (after rows were reordered), keeping the selection order.
    void Remap(const std::function<int(int)>& newIndex);

    // Item `item` was inserted: indexes at or above it move up.
    void OnInsert(int item, int count = 1);
    // Item `item` was removed: it leaves the list, indexes above it move down.
    void OnRemove(int item, int count = 1);

    const std::list<int>& Items() const { return m_items; }

  private:
    std::list<int> m_items;
};

}  // namespace pagelark
