#include "controls/ThemedHoverButton.h"

#include "controls/ThemeHelper.h"

namespace pagelark {

ThemedHoverButton::ThemedHoverButton(QWidget* parent, int style) : HoverButton(parent, style) {}

void ThemedHoverButton::SetThemeHelper(ThemeHelper* helper) {
    m_theme = helper;
}

int ThemedHoverButton::ThemeState() const {
    const HoverButtonModel::Face& face = CurrentFace();
    if (face.disabled) return ThemeHelper::kStateDisabled;
    if (face.pressed) return ThemeHelper::kStatePressed;
    if (face.hovered) return ThemeHelper::kStateHot;
    if (Model().IsDefault()) return ThemeHelper::kStateDefaulted;
    return ThemeHelper::kStateNormal;
}

int ThemedHoverButton::OnDrawBackground(QPainter& painter, const QRect& rect) {
    m_themedFace = false;
    if (m_theme != nullptr && m_theme->IsAppThemed()) {
        if (const HTHEME theme = m_theme->OpenThemeData(this, u"BUTTON")) {
            m_theme->DrawThemeBackground(theme, &painter, ThemeHelper::kPushButtonPart,
                                         ThemeState(), rect, nullptr);
            m_theme->CloseThemeData(theme);
            m_themedFace = true;
            return 0;
        }
    }
    return HoverButton::OnDrawBackground(painter, rect);
}

int ThemedHoverButton::OnDrawBorder(QPainter& painter, const QRect& rect) {
    if (m_themedFace) return 0;
    return HoverButton::OnDrawBorder(painter, rect);
}

}  // namespace pagelark
