#pragma once

#include "common/ReportHeader.h"

// What the flat header tells the control that owns it (the report list).
// Items are header item indexes; pressed is the copy of the item taken when
// the button went down, with its display position in order.
namespace pagelark {

class FlatHeaderOwner {
  public:
    virtual ~FlatHeaderOwner() = default;

    // A drag of a caption is about to start; true vetoes it (no floating copy, no drop).
    virtual bool OnHeaderBeginDrag(int item, const HeaderItem& pressed) = 0;
    // The drag ended; true vetoes the reordering. GetDropState says where it ended.
    virtual bool OnHeaderEndDrag(int item, const HeaderItem& pressed) = 0;
    // Width or format changed, by the user, the owner or an auto fit (see IsAutoFitting).
    virtual void OnHeaderItemChanged(int item, bool format, bool width) = 0;
    // Pressed and released on the same caption without dragging.
    virtual void OnHeaderItemClick(int item) = 0;
    virtual void OnHeaderDividerDblClick(int item) = 0;
    // The right button went down over item (-1: off the items); true when it
    // was taken. The press goes no further than the header either way.
    virtual bool OnHeaderRightClick(int item) = 0;
};

}  // namespace pagelark
