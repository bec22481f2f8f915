#pragma once

#include <QRect>
#include <QStringView>

#include <cstdint>
#include <map>

class QPainter;
class QWidget;

// Draws controls the way the desktop's widget style does, when there is one.
// Built without the style binding, every call gives the inert result and the
// callers draw their classic look.
namespace pagelark {

using HTHEME = std::uintptr_t;  // 0: no theme data

class ThemeHelper {
  public:
    enum class Binding { Style, WithoutLibrary };

    static constexpr long kOk = 0;
    static constexpr long kFail = static_cast<long>(static_cast<std::int32_t>(0x80004005));
    static constexpr long kInvalidArg = static_cast<long>(static_cast<std::int32_t>(0x80070057));

    // Part and states of the push button.
    static constexpr int kPushButtonPart = 1;
    static constexpr int kStateNormal = 1;
    static constexpr int kStateHot = 2;
    static constexpr int kStatePressed = 3;
    static constexpr int kStateDisabled = 4;
    static constexpr int kStateDefaulted = 5;

    explicit ThemeHelper(Binding binding = Binding::Style);
    ~ThemeHelper();
    ThemeHelper(const ThemeHelper&) = delete;
    ThemeHelper& operator=(const ThemeHelper&) = delete;

    // classList: theme class names separated by ';' ("BUTTON"). The handle must
    // be given back to CloseThemeData.
    HTHEME OpenThemeData(QWidget* window, QStringView classList);
    long CloseThemeData(HTHEME theme);
    long DrawThemeBackground(HTHEME theme, QPainter* painter, int partId, int stateId,
                             const QRect& rect, const QRect* clip);
    bool IsAppThemed() const;

    bool IsBound() const { return m_bound; }
    int OpenHandleCount() const { return static_cast<int>(m_open.size()); }

  private:
    bool m_bound = false;
    HTHEME m_nextHandle = 1;
    std::map<HTHEME, QWidget*> m_open;
};

}  // namespace pagelark
