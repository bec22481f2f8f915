#pragma once

#include <cstdint>

// The exchange record through which rows of the report control are read and
// written, and the constants that go with it. Plain data with no Qt, so that
// the engine and the control can both include it.
namespace pagelark {

// Mask bits: which fields of a ReportItemInfo are valid.
inline constexpr uint32_t RIF_TEXT = 0x1;
inline constexpr uint32_t RIF_TEXTCOLOR = 0x2;
inline constexpr uint32_t RIF_IMAGE = 0x4;
inline constexpr uint32_t RIF_CHECK = 0x8;
inline constexpr uint32_t RIF_BKCOLOR = 0x10;
inline constexpr uint32_t RIF_PREVIEW = 0x20;
inline constexpr uint32_t RIF_STATE = 0x40;
inline constexpr uint32_t RIF_PARAM = 0x80;
inline constexpr uint32_t RIF_INDENT = 0x100;
inline constexpr uint32_t RIF_OVERLAY = 0x200;

// Item state bits. FOCUSED, SELECTED, COLLAPSED and EXPANDED belong to the control.
inline constexpr uint32_t RIS_FOCUSED = 0x1;
inline constexpr uint32_t RIS_SELECTED = 0x2;
inline constexpr uint32_t RIS_BOLD = 0x4;
inline constexpr uint32_t RIS_READONLY = 0x8;
inline constexpr uint32_t RIS_CUSTOMDRAW = 0x10;
inline constexpr uint32_t RIS_COLLAPSED = 0x20;
inline constexpr uint32_t RIS_EXPANDED = 0x40;
inline constexpr uint32_t RIS_BLEND25 = 0x80;
inline constexpr uint32_t RIS_BLEND50 = 0x100;
inline constexpr uint32_t RIS_CONTROL_OWNED =
    RIS_FOCUSED | RIS_SELECTED | RIS_COLLAPSED | RIS_EXPANDED;

struct ReportItemInfo {
    uint32_t mask = 0;
    int32_t item = 0;
    int32_t subItem = 0;
    char* text = nullptr;  // buffer on reads, text (zero-terminated) on writes
    int32_t textMax = 0;   // buffer size in bytes, reads only
    int32_t textColor = -1;
    int32_t image = -1;
    int32_t check = -1;
    int32_t bkColor = -1;
    int32_t previewHeight = 0;
    int32_t indent = -1;
    uint32_t state = 0;
    int32_t param = 0;
    int32_t overlay = -1;
};

}  // namespace pagelark
