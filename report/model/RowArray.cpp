#include "report/model/RowArray.h"

#include <iterator>
#include <utility>

namespace pagelark {

void RowArray::Insert(size_t at, ItemEntry entry) {
    auto row = std::make_unique<ItemEntry>(std::move(entry));
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
}

void RowArray::Insert(size_t at, std::vector<ItemEntry> entries) {
    std::vector<std::unique_ptr<ItemEntry>> rows;
    rows.reserve(entries.size());
    for (ItemEntry& entry : entries)
        rows.push_back(std::make_unique<ItemEntry>(std::move(entry)));
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at),
                  std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

void RowArray::Erase(size_t at, size_t count) {
    const auto first = m_rows.begin() + static_cast<std::ptrdiff_t>(at);
    m_rows.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

void RowArray::Assign(std::vector<ItemEntry> entries) {
    m_rows.clear();
    Insert(0, std::move(entries));
}

void RowArray::Permute(const std::vector<int>& oldRows) {
    std::vector<std::unique_ptr<ItemEntry>> rows;
    rows.reserve(oldRows.size());
    for (const int old : oldRows)
        rows.push_back(std::move(m_rows[static_cast<size_t>(old)]));
    m_rows = std::move(rows);
}

}  // namespace pagelark
