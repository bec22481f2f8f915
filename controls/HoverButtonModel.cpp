#include "controls/HoverButtonModel.h"

namespace pagelark {

void HoverButtonModel::Attach(int style) {
    const int type = style & kButtonTypeMask;
    m_toggle = (type & 2) != 0;
    // The default push button behaves as a plain push button otherwise.
    if (type == BS_DEFPUSHBUTTON) m_default = true;
}

void HoverButtonModel::ChangeStyle(int style) {
    const int type = style & kButtonTypeMask;
    if (type == BS_DEFPUSHBUTTON) m_default = true;
    if (type == BS_PUSHBUTTON) m_default = false;
}

int HoverButtonModel::SetColor(int slot, const QColor& colour) {
    if (slot < 0 || slot >= SlotCount) return kBadSlot;
    m_colours[static_cast<std::size_t>(slot)] = colour;
    return 0;
}

QColor HoverButtonModel::Color(int slot) const {
    if (slot < 0 || slot >= SlotCount) return QColor();
    return m_colours[static_cast<std::size_t>(slot)];
}

void HoverButtonModel::SetDefaultColors(const QColor& face, const QColor& text) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        m_colours[static_cast<std::size_t>(slot)] = slot % 2 == 0 ? face : text;
    }
}

HoverButtonModel::HoverChange HoverButtonModel::OnMouseMove(bool leftButtonHeld,
                                                            bool cursorOverButton,
                                                            bool applicationActive) {
    // A press that started elsewhere does not light the button up.
    if (leftButtonHeld && !m_hover) return HoverChange::None;
    if (cursorOverButton && applicationActive) {
        if (m_hover) return HoverChange::None;
        m_hover = true;
        return HoverChange::Began;
    }
    return EndHover() ? HoverChange::Ended : HoverChange::None;
}

bool HoverButtonModel::EndHover() {
    if (!m_hover) return false;
    m_hover = false;
    return true;
}

bool HoverButtonModel::OnClick() {
    if (!m_toggle) return false;
    m_checked = !m_checked;
    return true;
}

bool HoverButtonModel::IsPressed(bool selected) const {
    if (m_toggle) return selected || m_checked;
    return selected || (m_hasMenu && m_menuShowing);
}

HoverButtonModel::Face HoverButtonModel::Compose(bool selected, bool focused, bool disabled,
                                                 bool hasInIcon, bool hasOutIcon) const {
    Face face;
    face.pressed = IsPressed(selected);
    face.hovered = m_hover;
    face.focused = focused;
    face.disabled = disabled;

    if (face.hovered || face.pressed) {
        face.fill = Color(BkIn);
    } else if (focused) {
        face.fill = Color(BkFocus);
    } else {
        face.fill = Color(BkOut);
    }

    if (face.pressed) {
        face.border = Border::Sunken;
    } else if (face.hovered) {
        face.border = Border::Raised;
    }

    if (hasInIcon) {
        // A toggle shows its checked state, not the hover.
        const bool useIn = m_toggle ? face.pressed : (face.pressed || face.hovered);
        face.icon = useIn || !hasOutIcon ? IconChoice::In : IconChoice::Out;
    }

    face.shiftContent = face.pressed && !m_toggle;
    face.engraved = disabled;
    face.textColour = face.hovered || face.pressed ? Color(FgIn) : Color(FgOut);
    return face;
}

}  // namespace pagelark
