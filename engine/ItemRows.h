#pragma once

#include "report/ReportItemInfo.h"

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
};

}  // namespace pagelark
