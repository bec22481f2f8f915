#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

#include <vector>

class QWidget;

// A dialog's layout as data: its size and one row per control, in dialog
// units. The window that builds the dialog creates the widgets; the template
// says where they go and what they show.
namespace pagelark {

class DialogUnits;

enum class ControlKind {
    Icon,
    Label,
    RightLabel,
    Edit,
    Button,
    DefaultButton,
    HoverButton,
    RoundHoverButton,
    ThemedHoverButton,
    LinkLabel,
    ProgressBar,
    ListView,
    ReportControl,
    WebBrowser,
    CheckBox,
};

inline constexpr int kNoControlId = -1;

struct DialogControl {
    int id = kNoControlId;
    ControlKind kind = ControlKind::Label;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int textId = 0;   // string table entry of its caption or tooltip, 0 for none
    int iconIn = 0;   // icon resource shown while hovered (or the icon itself)
    int iconOut = 0;  // icon resource shown otherwise, 0 for none
    bool hidden = false;
    unsigned style = 0;  // kind-specific style bits (BS_*, ES_*, LVS_*, WS_BORDER)

    QRect Rect() const { return QRect(x, y, width, height); }
};

struct DialogTemplate {
    int id = 0;
    int width = 0;
    int height = 0;
    unsigned style = 0;    // frame of the window (WS_*, DS_MODALFRAME)
    unsigned exStyle = 0;  // WS_EX_APPWINDOW
    std::vector<DialogControl> controls;

    // The control with this id, or nullptr.
    const DialogControl* Find(int controlId) const;

    QSize PixelSize(const DialogUnits& units) const;
    QRect PixelRect(const DialogControl& control, const DialogUnits& units) const;

    // Gives every control of the dialog that carries a template id its place.
    void PlaceControls(QWidget* dialog, const DialogUnits& units) const;

    // The window flags for the recorded frame.
    Qt::WindowFlags WindowFlags() const;
    bool IsResizable() const;
    // Gives the dialog its frame and its client size; a dialog without a
    // sizing border keeps that size.
    void ApplyFrame(QWidget* dialog, const DialogUnits& units) const;
};

}  // namespace pagelark
