#pragma once

#include "controls/DialogTemplate.h"

// The program's dialog layouts by template number: 100 about box, 102 main
// window, 103 add item, 104 edit item, 105 detail window, 106 the filter
// picker.
namespace pagelark {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_ADD_ITEM = 103;
inline constexpr int IDD_EDIT_ITEM = 104;
inline constexpr int IDD_DETAIL = 105;
inline constexpr int IDD_PICK_FILTER = 106;

// nullptr for a number that is no dialog.
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace pagelark
