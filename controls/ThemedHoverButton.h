#pragma once

#include "controls/HoverButton.h"

// A hover button whose face is drawn by the desktop's widget style when the
// theme helper reports one; otherwise it looks like a plain HoverButton.
namespace pagelark {

class ThemeHelper;

class ThemedHoverButton : public HoverButton {
    Q_OBJECT

  public:
    explicit ThemedHoverButton(QWidget* parent = nullptr, int style = BS_PUSHBUTTON);

    void SetThemeHelper(ThemeHelper* helper);

    // The push-button state the face is drawn in for the current draw.
    int ThemeState() const;

  protected:
    int OnDrawBackground(QPainter& painter, const QRect& rect) override;
    int OnDrawBorder(QPainter& painter, const QRect& rect) override;

  private:
    ThemeHelper* m_theme = nullptr;
    bool m_themedFace = false;  // this draw's background came from the style
};

}  // namespace pagelark
