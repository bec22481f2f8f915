#pragma once

#include <QColor>

#include <array>

// What a hover button is and how it should look, without a window: hover,
// toggle, default, menu and colour state, and the decisions each draw takes
// from them.
namespace pagelark {

// Button types (the low five bits of a button style).
inline constexpr int kButtonTypeMask = 0x1F;
inline constexpr int BS_PUSHBUTTON = 0;
inline constexpr int BS_DEFPUSHBUTTON = 1;
inline constexpr int BS_CHECKBOX = 2;
inline constexpr int BS_AUTOCHECKBOX = 3;
inline constexpr int BS_PUSHLIKE = 0x1000;

class HoverButtonModel {
  public:
    enum ColourSlot { BkIn = 0, FgIn, BkOut, FgOut, BkFocus, FgFocus, SlotCount };
    enum class Border { None, Raised, Sunken };
    enum class IconChoice { None, In, Out };
    enum class HoverChange { None, Began, Ended };

    static constexpr int kBadSlot = 3;

    // What one draw shows.
    struct Face {
        bool pressed = false;
        bool hovered = false;
        bool focused = false;
        bool disabled = false;
        QColor fill;
        Border border = Border::None;
        IconChoice icon = IconChoice::None;
        bool shiftContent = false;  // pressed push button: one pixel right and down
        bool engraved = false;      // disabled caption
        QColor textColour;
    };

    // Takes the button's type when the button is attached to its window.
    void Attach(int style);
    // A later style change keeps the drawing but records the default state.
    void ChangeStyle(int style);
    // The dialog made the button its default, or took that away.
    void SetDefault(bool isDefault) { m_default = isDefault; }

    int SetColor(int slot, const QColor& colour);
    QColor Color(int slot) const;
    void SetDefaultColors(const QColor& face, const QColor& text);

    // A mouse move: whether the left button is held, whether the cursor is
    // over this button, whether the application has an active window.
    HoverChange OnMouseMove(bool leftButtonHeld, bool cursorOverButton, bool applicationActive);
    // Leave, focus loss, deactivation, cancel, disabling. True if it was hovered.
    bool EndHover();

    // A click: in toggle mode flips checked; true when a redraw is due.
    bool OnClick();

    bool IsHovered() const { return m_hover; }
    bool IsDefault() const { return m_default; }
    bool IsToggle() const { return m_toggle; }
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked) { m_checked = checked; }

    void SetHasMenu(bool hasMenu) { m_hasMenu = hasMenu; }
    bool HasMenu() const { return m_hasMenu; }
    void SetMenuShowing(bool showing) { m_menuShowing = showing; }
    bool IsMenuShowing() const { return m_menuShowing; }

    bool IsPressed(bool selected) const;

    Face Compose(bool selected, bool focused, bool disabled, bool hasInIcon, bool hasOutIcon) const;

  private:
    bool m_hover = false;
    bool m_default = false;
    bool m_toggle = false;
    bool m_checked = false;
    bool m_hasMenu = false;
    bool m_menuShowing = false;
    std::array<QColor, SlotCount> m_colours;
};

}  // namespace pagelark
