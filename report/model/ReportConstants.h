#pragma once

#include <cstdint>

// Style, column-format and notification constants of the report control.
// The values are part of the control's interface and must not change.
namespace pagelark {

// Control style bits (the low 16 bits of the window style).
inline constexpr uint32_t RCS_SINGLESELECT = 0x1;
inline constexpr uint32_t RCS_SHOWSELALWAYS = 0x2;
inline constexpr uint32_t RCS_SELKEEPCOLORS = 0x4;
inline constexpr uint32_t RCS_ALTROWCOLOR = 0x8;
inline constexpr uint32_t RCS_HGRID = 0x10;
inline constexpr uint32_t RCS_VGRID = 0x20;
inline constexpr uint32_t RCS_NOHEADER = 0x40;
inline constexpr uint32_t RCS_NOSORT = 0x80;
inline constexpr uint32_t RCS_DRAGREMOVE = 0x100;
inline constexpr uint32_t RCS_NEWITEMROW = 0x200;
inline constexpr uint32_t RCS_FULLGRID = 0x400;
inline constexpr uint32_t RCS_VIRTUAL = 0x800;
inline constexpr uint32_t RCS_CELLFOCUS = 0x1000;
inline constexpr uint32_t RCS_CELLTIPS = 0x2000;
inline constexpr uint32_t RCS_TREE = 0x4000;
inline constexpr uint32_t RCS_TREEFIXED = 0x8000;

// Header item format bits (bits 0-15 of a column format).
inline constexpr uint32_t HDF_LEFT = 0x0;
inline constexpr uint32_t HDF_RIGHT = 0x1;
inline constexpr uint32_t HDF_CENTER = 0x2;
inline constexpr uint32_t HDF_JUSTIFYMASK = 0x3;
inline constexpr uint32_t HDF_IMAGE = 0x800;
inline constexpr uint32_t HDF_BITMAP_ON_RIGHT = 0x1000;
inline constexpr uint32_t HDF_STRING = 0x4000;

// Column format bits read by the control itself; bits 16-23 also go to the header.
inline constexpr uint32_t RCF_FIXEDWIDTH = 0x40000;
inline constexpr uint32_t RCF_SORTTIP = 0x80000;
inline constexpr uint32_t RCF_IMAGESPACE = 0x1000000;
inline constexpr uint32_t RCF_CHECKSPACE = 0x2000000;
inline constexpr uint32_t RCF_NOFOCUS = 0x4000000;

// Notification codes; code -2048-k has bit k in the notification mask.
inline constexpr int RCN_FIRST = -2048;
inline constexpr int RCN_DRAWPREVIEW = -2048;
inline constexpr int RCN_CLICK = -2049;
inline constexpr int RCN_DBLCLICK = -2050;
inline constexpr int RCN_SELCHANGING = -2051;
inline constexpr int RCN_SELCHANGED = -2052;
inline constexpr int RCN_COLUMNCLICK = -2053;
inline constexpr int RCN_COLUMNCHANGED = -2054;
inline constexpr int RCN_ITEMDELETED = -2055;
inline constexpr int RCN_GETDISPINFO = -2056;
inline constexpr int RCN_BEGINEDIT = -2057;
inline constexpr int RCN_ENDEDIT = -2058;
inline constexpr int RCN_KEYDOWN = -2059;
inline constexpr int RCN_DIVIDERDBLCLICK = -2060;
inline constexpr int RCN_RCLICK = -2061;
inline constexpr int RCN_EDITBROWSE = -2062;
inline constexpr int RCN_CUSTOMDRAW = -2063;
inline constexpr int RCN_EXPANDING = -2064;
inline constexpr int RCN_EXPANDED = -2065;
inline constexpr int RCN_HEADERRCLICK = -2066;
inline constexpr int RCN_OPTIONCHANGED = -2067;
inline constexpr int RCN_OPTIONCHECKED = -2068;
inline constexpr int RCN_OPTIONSELECTED = -2069;

// Key-state flags carried by mouse notifications.
inline constexpr uint32_t MK_SHIFT = 0x4;
inline constexpr uint32_t MK_CONTROL = 0x8;

}  // namespace pagelark
