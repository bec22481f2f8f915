#pragma once

// The style bits a dialog template records for its window and its controls,
// with the platform's values. Button types (BS_*) are in HoverButtonModel.h.
namespace pagelark {

// The dialog window.
inline constexpr unsigned WS_BORDER = 0x00800000;
inline constexpr unsigned WS_CAPTION = 0x00C00000;     // title bar (includes the border)
inline constexpr unsigned WS_SYSMENU = 0x00080000;     // system menu and close box
inline constexpr unsigned WS_THICKFRAME = 0x00040000;  // sizing border
inline constexpr unsigned WS_MINIMIZEBOX = 0x00020000;
inline constexpr unsigned WS_MAXIMIZEBOX = 0x00010000;
inline constexpr unsigned DS_MODALFRAME = 0x00000080;
// Extended style: the window has a task bar button.
inline constexpr unsigned WS_EX_APPWINDOW = 0x00040000;

// Edits.
inline constexpr unsigned ES_AUTOHSCROLL = 0x0080;
// List views.
inline constexpr unsigned LVS_REPORT = 0x0001;
inline constexpr unsigned LVS_SINGLESEL = 0x0004;
inline constexpr unsigned LVS_SHOWSELALWAYS = 0x0008;

}  // namespace pagelark
