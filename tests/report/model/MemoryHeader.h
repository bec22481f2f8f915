#pragma once

#include <vector>

#include "common/ReportHeader.h"

namespace pagelark {

// A column header without a window: items, their extras, the display order and
// the sort mark, with the header's width limits applied.
class MemoryHeader : public ReportHeader {
  public:
    int GetItemCount() const override;
    int InsertItem(int index, const HeaderItem& item) override;
    bool DeleteItem(int index) override;
    bool GetItem(int index, HeaderItem& item) const override;
    bool SetItemWidth(int index, int width) override;
    bool SetItemFormat(int index, uint32_t format) override;
    bool SetItemData(int index, int data) override;
    std::vector<int> GetOrderArray() const override;
    bool SetItemExtra(int index, const HeaderItemExtra& extra) override;
    void SetSortColumn(int index, bool ascending) override;
    int GetSortColumn(bool* ascending) const override;

    // Reorders the display, as a drag of the captions would.
    bool SetOrderArray(const std::vector<int>& order) {
        m_order = order;
        return true;
    }
    bool GetItemExtra(int index, HeaderItemExtra& extra) const;
    // Makes the next insertion fail, as a header out of memory would.
    void FailNextInsert() { m_failNextInsert = true; }

  private:
    bool Valid(int index) const { return index >= 0 && index < GetItemCount(); }

    std::vector<HeaderItem> m_items;
    std::vector<HeaderItemExtra> m_extras;
    std::vector<int> m_order;
    int m_sortColumn = -1;
    bool m_sortAscending = false;
    bool m_failNextInsert = false;
};

}  // namespace pagelark
