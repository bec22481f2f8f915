#pragma once

#include <cstddef>
#include <cstdint>

#include "common/ReportItemInfo.h"

// The records the report control sends to its parent. Every record starts with
// a NotifyHeader, so the parent receives the header and reads the rest by code.
namespace pagelark {

struct ReportRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct ReportPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct NotifyHeader {
    const void* window = nullptr;  // the sending control's window, none without a widget
    int32_t controlId = 0;
    int32_t code = 0;
};

// RCN_CLICK, RCN_DBLCLICK, RCN_RCLICK, RCN_SELCHANGING, RCN_SELCHANGED,
// RCN_COLUMNCLICK, RCN_COLUMNCHANGED, RCN_ITEMDELETED, RCN_KEYDOWN,
// RCN_DIVIDERDBLCLICK, RCN_EXPANDING, RCN_EXPANDED, RCN_HEADERRCLICK.
// The header-caption codes put the column's subitem into keys.
struct ReportNotify {
    NotifyHeader header;
    uint32_t keys = 0;  // MK_SHIFT, MK_CONTROL; or a subitem, or a virtual key
    ReportPoint point;
    uint32_t hitFlags = 0;
    int32_t treeNode = -1;  // tree mode only
    int32_t item = -2;
    int32_t subItem = -1;
    uint32_t state = 0;
    int32_t param = 0;  // the item's caller data, when the item is valid and not virtual
};

// RCN_DRAWPREVIEW: the parent draws the preview band; its answer is ignored.
struct PreviewNotify {
    NotifyHeader header;
    uint32_t reserved = 0;
    int32_t item = -2;
    uint32_t state = 0;
    void* context = nullptr;  // what to draw into
    ReportRect rect;
    int32_t param = 0;
};

// RCN_BEGINEDIT, RCN_ENDEDIT, RCN_EDITBROWSE.
struct EditNotify {
    NotifyHeader header;
    uint32_t reserved = 0;
    int32_t item = -2;
    int32_t subItem = -1;
    uint32_t flags = 0;  // non-zero asks the default editor for a browse button
    void* editor = nullptr;
    ReportRect rect;
    uint32_t key = 0;  // starting character (begin) or ending key (end)
    char* text = nullptr;
    int32_t param = 0;
};

// RCN_GETDISPINFO: the parent fills the fields named by info.mask.
struct DispInfoNotify {
    NotifyHeader header;
    ReportItemInfo info;
};

// RCN_CUSTOMDRAW: a non-zero answer means the parent drew the cell.
struct CustomDrawNotify {
    NotifyHeader header;
    ReportItemInfo* info = nullptr;
    void* context = nullptr;
    ReportRect rect;
};

// RCN_OPTIONCHANGED, RCN_OPTIONCHECKED, RCN_OPTIONSELECTED.
struct OptionNotify {
    NotifyHeader header;
    int32_t parentOption = -2;
    int32_t option = -2;
    int32_t value = -1;
};

// The full record behind a header, for the parent that has checked the code.
template <typename Record>
Record& RecordOf(NotifyHeader& header) {
    static_assert(offsetof(Record, header) == 0);
    return *reinterpret_cast<Record*>(&header);
}

}  // namespace pagelark
