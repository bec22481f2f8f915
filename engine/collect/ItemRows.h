#pragma once

#include <string>
#include <string_view>

#include "common/ReportItemInfo.h"

namespace pagelark {

// The few row operations the engine needs from the list that shows the items.
// The window implements them on its report control (run on the window thread);
// the CLI and the tests implement them in memory.
class ItemRows {
  public:
    virtual ~ItemRows() = default;

    // The row's caller data: the item number, plus 10000 while disabled.
    virtual int GetItemData(int row) = 0;

    // Height in pixels of `lines` lines of the list's font; negative when it
    // cannot be measured (no screen).
    virtual int GetLineHeight(int lines) = 0;

    // Writes the fields named by info.mask; returns 1 on success, 0 otherwise.
    virtual int SetItem(const ReportItemInfo& info) = 0;

    virtual int GetItemCount() = 0;
    // Inserts a row at info.item (the count appends); returns its index or -2.
    virtual int InsertItem(const ReportItemInfo& info) = 0;
    virtual bool DeleteAllItems() = 0;
    virtual std::string GetItemText(int item, int subItem) = 0;
    // The State column's image (an ItemState value), or -1 for no such row.
    virtual int GetItemImage(int row) = 0;

    // Many changes as one: a list on screen lays out and repaints once, at
    // EndBatch. Nothing by default.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

// Holds a batch of row changes open for its lifetime.
class RowBatch {
  public:
    explicit RowBatch(ItemRows& rows) : m_rows(rows) { m_rows.BeginBatch(); }
    ~RowBatch() { m_rows.EndBatch(); }
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

  private:
    ItemRows& m_rows;
};

// One text or the image of a row, written through SetItem.
int SetRowText(ItemRows& rows, int row, int column, const std::string& text);
int SetRowImage(ItemRows& rows, int row, int image);

// Appends the row of a new item as Add and Load do: image Ready, no check box,
// state 0, data = number, and the Name in column 1. Returns the row index.
int AppendItemRow(ItemRows& rows, int number, std::string_view name);

}  // namespace pagelark
