#pragma once

#include <unordered_map>
#include <vector>

namespace pagelark {

// Item indexes in the order the rows are shown, with a reverse map from item
// to row that is rebuilt once on the first lookup after a change.
class DisplayOrder {
  public:
    int Size() const { return static_cast<int>(m_items.size()); }
    int ItemAt(int row) const;
    int RowOf(int item) const;

    // Item `item` was inserted: it shows at row `item`, later indexes move up.
    void Insert(int item);
    // Item `item` was removed: its row goes, later indexes move down. Returns
    // the row it had, -2 when it was not shown.
    int Remove(int item);
    // Items 0..count-1 in index order.
    void Reset(int count);

    // For sorting: the caller permutes the entries, then marks the map stale.
    std::vector<int>& Items() { return m_items; }
    void MarkStale() { m_stale = true; }

  private:
    std::vector<int> m_items;
    mutable std::unordered_map<int, int> m_rows;
    mutable bool m_stale = true;
};

}  // namespace pagelark
