#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark {

// One column caption as the header holds it. data carries the column's subitem number.
struct HeaderItem {
    int width = 0;
    uint32_t format = 0;  // header format bits 0-15
    int order = 0;        // display position
    int image = 0;
    std::string text;
    int data = -1;
};

// The header's per-item limits and tip.
struct HeaderItemExtra {
    static constexpr uint32_t FitToContent = 0x01;
    static constexpr uint32_t ContentWithArrow = 0x02;
    static constexpr uint32_t FixedWidth = 0x04;
    static constexpr uint32_t KeepOnDrag = 0x10;

    uint32_t flags = 0;
    int minWidth = 0;
    int maxWidth = 0;  // 0 or less: no limit
    std::string tipText;
};

// What the report model needs from its column header. The widget implements it
// on its header child; the tests keep one in memory.
class ReportHeader {
  public:
    virtual ~ReportHeader() = default;

    virtual int GetItemCount() const = 0;
    // Inserts at index `index` (clamped) and shows it at display position item.order;
    // returns the new index or -1.
    virtual int InsertItem(int index, const HeaderItem& item) = 0;
    virtual bool DeleteItem(int index) = 0;
    virtual bool GetItem(int index, HeaderItem& item) const = 0;
    virtual bool SetItemWidth(int index, int width) = 0;
    virtual bool SetItemFormat(int index, uint32_t format) = 0;
    virtual bool SetItemData(int index, int data) = 0;
    // Item indexes in display order.
    virtual std::vector<int> GetOrderArray() const = 0;
    virtual bool SetItemExtra(int index, const HeaderItemExtra& extra) = 0;
    virtual void SetSortColumn(int index, bool ascending) = 0;
    virtual int GetSortColumn(bool* ascending) const = 0;
};

}  // namespace pagelark
