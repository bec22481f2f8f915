#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/collect/ItemRows.h"

namespace pagelark {

// One row of the list as the engine sees it: the State image, the texts of
// the four columns, caller data, state flags and preview height.
struct MemoryRow {
    int image = -1;
    std::array<std::string, 4> texts;
    int data = 0;
    uint32_t state = 0;
    int previewHeight = 0;
};

// Rows kept in memory, for the CLI and the tests. Without a screen there is no
// font to measure, so the line height is -1 unless a test sets one.
class MemoryRows : public ItemRows {
  public:
    explicit MemoryRows(int lineHeight = -1) : m_lineHeight(lineHeight) {}

    // A row with image Ready and the given data, at the end.
    int AppendRow(int data);
    std::vector<MemoryRow>& Rows() { return m_rows; }
    const std::vector<MemoryRow>& Rows() const { return m_rows; }

    int GetItemData(int row) override;
    int GetLineHeight(int lines) override;
    int SetItem(const ReportItemInfo& info) override;
    int GetItemCount() override { return static_cast<int>(m_rows.size()); }
    int InsertItem(const ReportItemInfo& info) override;
    bool DeleteAllItems() override;
    std::string GetItemText(int item, int subItem) override;
    int GetItemImage(int row) override;

  private:
    int m_lineHeight;
    std::vector<MemoryRow> m_rows;
};

}  // namespace pagelark
