#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "report/model/ItemEntry.h"

namespace pagelark {

// The stored rows, position = item index. Each row is held by pointer, so
// inserting or deleting a row moves pointers, not rows: deleting row after
// row from the top of a long list stays fast.
class RowArray {
  public:
    size_t Size() const { return m_rows.size(); }
    bool Empty() const { return m_rows.empty(); }
    ItemEntry& operator[](size_t at) { return *m_rows[at]; }
    const ItemEntry& operator[](size_t at) const { return *m_rows[at]; }

    void Insert(size_t at, ItemEntry entry);
    void Insert(size_t at, std::vector<ItemEntry> entries);
    void Erase(size_t at, size_t count = 1);
    void Clear() { m_rows.clear(); }
    // Replaces the rows with entries, in their order.
    void Assign(std::vector<ItemEntry> entries);
    // Reorders the rows: new row r is old row oldRows[r], which lists every row once.
    void Permute(const std::vector<int>& oldRows);

  private:
    std::vector<std::unique_ptr<ItemEntry>> m_rows;
};

}  // namespace pagelark
