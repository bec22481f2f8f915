#include "app/language/DialogTemplates.h"

#include <map>

#include <utility>
#include "controls/HoverButtonModel.h"
#include "controls/platform/Resources.h"
#include "controls/platform/WindowStyles.h"

namespace pagelark {
namespace {

using K = ControlKind;

DialogControl C(int id, ControlKind kind, int x, int y, int width, int height, int textId = 0,
                int iconIn = 0, int iconOut = 0, bool hidden = false) {
    DialogControl control;
    control.id = id;
    control.kind = kind;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    control.textId = textId;
    control.iconIn = iconIn;
    control.iconOut = iconOut;
    control.hidden = hidden;
    return control;
}

DialogControl Styled(DialogControl control, unsigned style) {
    control.style = style;
    return control;
}

constexpr unsigned kModalDialog = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr unsigned kSizableWindow =
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
constexpr unsigned kPushLikeToggle = BS_AUTOCHECKBOX | BS_PUSHLIKE;

DialogTemplate T(int id, int width, int height, unsigned style, std::vector<DialogControl> controls,
                 unsigned exStyle = 0) {
    DialogTemplate dialog;
    dialog.id = id;
    dialog.width = width;
    dialog.height = height;
    dialog.style = style;
    dialog.exStyle = exStyle;
    dialog.controls = std::move(controls);
    return dialog;
}

DialogTemplate AboutBox() {
    return T(IDD_ABOUTBOX, 192, 103, kModalDialog,
             {
                 C(kNoControlId, K::Icon, 7, 7, 20, 20, 0, kProductIcon, 0),
                 C(1028, K::Label, 39, 7, 146, 27, 168),
                 C(1031, K::Label, 39, 45, 39, 8, 166),
                 C(1029, K::LinkLabel, 81, 45, 104, 8, 103),
                 C(1032, K::Label, 39, 59, 39, 8, 167),
                 C(1030, K::LinkLabel, 81, 59, 104, 8, 104),
                 Styled(C(1, K::DefaultButton, 70, 82, 50, 14, 170), BS_DEFPUSHBUTTON),
             });
}

DialogTemplate MainWindow() {
    return T(
        IDD_MAIN, 401, 249, kSizableWindow,
        {
            C(1009, K::RoundHoverButton, 5, 3, 45, 19, 172, 160, 160),
            C(1006, K::RoundHoverButton, 52, 3, 45, 19, 173, 137, 137),
            C(1007, K::RoundHoverButton, 99, 3, 45, 19, 174, 138, 138),
            C(1008, K::RoundHoverButton, 146, 3, 45, 19, 175, 139, 139),
            C(1014, K::RoundHoverButton, 193, 3, 45, 19, 176, 152, 152),
            C(1015, K::RoundHoverButton, 240, 3, 45, 19, 177, 153, 153),
            C(1018, K::RoundHoverButton, 287, 3, 45, 19, 186, 180, 180),
            C(1011, K::ReportControl, 5, 26, 325, 201),
            C(1001, K::ThemedHoverButton, 335, 27, 61, 29, 178, 147, 171),
            C(1000, K::ThemedHoverButton, 335, 60, 61, 29, 179, 148, 168),
            C(3, K::ThemedHoverButton, 335, 93, 61, 29, 180, 163, 173),
            C(2, K::ThemedHoverButton, 335, 126, 61, 29, 181, 149, 169),
            C(1010, K::ProgressBar, 335, 187, 61, 6, 0, 0, 0, true),
            Styled(C(1, K::ThemedHoverButton, 335, 198, 61, 29, 182, 174, 167), BS_DEFPUSHBUTTON),
            // Icon-only buttons: their string is the tooltip.
            C(1004, K::HoverButton, 5, 231, 15, 13, 184, 178, 179),
            C(1023, K::LinkLabel, 24, 234, 181, 8, 163),
            Styled(C(1022, K::HoverButton, 380, 230, 16, 14, 185, 161, 172), kPushLikeToggle),
        },
        WS_EX_APPWINDOW);
}

DialogTemplate ItemEditor(int id) {
    // A caption bar without system menu. Under the Filter, the filter
    // builder's buttons and what the Filter gives on the page; under the URL,
    // "Render the page first" (1060).
    return T(id, 238, 153, WS_CAPTION | DS_MODALFRAME,
             {
                 C(1025, K::RightLabel, 5, 10, 43, 8, 160),
                 Styled(C(1007, K::Edit, 50, 7, 181, 14), ES_AUTOHSCROLL),
                 C(1026, K::RightLabel, 5, 29, 43, 8, 161),
                 Styled(C(1003, K::Edit, 50, 25, 181, 14), ES_AUTOHSCROLL),
                 C(1050, K::Button, 50, 43, 76, 14, 230),
                 C(1051, K::Button, 130, 43, 44, 14, 231),
                 C(1052, K::Label, 50, 61, 181, 34),
                 C(1027, K::RightLabel, 5, 102, 43, 8, 162),
                 Styled(C(1001, K::Edit, 50, 99, 181, 14), ES_AUTOHSCROLL),
                 C(1060, K::CheckBox, 50, 117, 181, 10, 300),
                 Styled(C(1, K::DefaultButton, 127, 132, 50, 14, 170), BS_DEFPUSHBUTTON),
                 C(2, K::Button, 181, 132, 50, 14, 171),
             });
}

DialogTemplate DetailWindow() {
    return T(
        IDD_DETAIL, 384, 253, kSizableWindow,
        {
            Styled(C(1020, K::ListView, 0, 0, 383, 45), WS_BORDER | LVS_REPORT | LVS_SINGLESEL),
            C(1027, K::Label, 3, 51, 33, 8, 194),
            Styled(C(1001, K::Edit, 39, 48, 308, 14), ES_AUTOHSCROLL),
            C(1000, K::Button, 351, 49, 32, 12),
            C(1042, K::WebBrowser, 0, 66, 384, 187),
            Styled(C(1, K::DefaultButton, 334, 0, 50, 14, 170, 0, 0, true), BS_DEFPUSHBUTTON),
        });
}

DialogTemplate FilterPicker() {
    // The page fills the window; the selection's state and the buttons keep
    // to the bottom edge when it is resized.
    return T(IDD_PICK_FILTER, 460, 301, kSizableWindow,
             {
                 C(1060, K::Label, 5, 2, 450, 16, 233),
                 C(1061, K::WebBrowser, 0, 20, 460, 240),
                 C(1062, K::Label, 5, 264, 450, 16),
                 C(1063, K::CheckBox, 5, 283, 160, 12, 235),
                 Styled(C(1, K::DefaultButton, 341, 282, 60, 14, 234), BS_DEFPUSHBUTTON),
                 C(2, K::Button, 405, 282, 50, 14, 171),
             });
}

const std::map<int, DialogTemplate>& Templates() {
    static const std::map<int, DialogTemplate> templates = {
        {IDD_ABOUTBOX, AboutBox()},
        {IDD_MAIN, MainWindow()},
        {IDD_ADD_ITEM, ItemEditor(IDD_ADD_ITEM)},
        {IDD_EDIT_ITEM, ItemEditor(IDD_EDIT_ITEM)},
        {IDD_DETAIL, DetailWindow()},
        {IDD_PICK_FILTER, FilterPicker()},
    };
    return templates;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    const auto& templates = Templates();
    const auto it = templates.find(id);
    return it == templates.end() ? nullptr : &it->second;
}

}  // namespace pagelark
