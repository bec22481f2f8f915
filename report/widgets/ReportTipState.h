#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>

// What the report control's tip knows, without a window: the last cell it was
// asked to cover, whether it may show there, its area of the mouse, the fade
// in, and the timing of clicks on it.
namespace pagelark {

class ReportTipState {
  public:
    static constexpr int kFadeInterval = 20;  // milliseconds between fade steps
    static constexpr int kFadeStep = 10;
    static constexpr int kHideGrace = 100;  // a tip shown this soon after a hide skips the fade
    static constexpr int kOpaque = 255;

    // layered: whether the platform composites windows, so the tip can fade.
    // doubleClickTime: the system's, in milliseconds. margin: the owner's cell margin.
    ReportTipState(bool layered, int doubleClickTime, int margin = 6);

    // Starts the fade timer at an interval in milliseconds, or stops it for 0.
    using TimerControl = std::function<void(int interval)>;
    void SetTimerControl(TimerControl control) { m_timerControl = std::move(control); }

    struct ShowResult {
        bool shown = false;
        QRect window;  // owner coordinates: the cell widened by the margin and to the text
        bool applyOpacity = false;
    };
    // rect: the cell's text rectangle in owner coordinates; text: the text's size
    // in its font; focus: whether a window of the program has the keyboard focus.
    // The tip shows only for a text wider than its cell, and never twice in a row
    // for the same cell.
    ShowResult Show(const QRect& rect, const QSize& text, bool focus);
    void Hide();
    // One fade timer tick; true when the new opacity is to be applied.
    bool Tick();
    // A left button press on the tip at a time in milliseconds; true when it
    // completes a double click.
    bool LeftPress(int64_t time);
    // Whether a point in tip coordinates is still over the cell the tip covers.
    bool InHitArea(const QPoint& point) const { return m_hitArea.contains(point); }

    bool Layered() const { return m_layered; }
    int Opacity() const { return m_opacity; }
    QRect LastRect() const { return m_last; }
    int Margin() const { return m_margin; }
    // The fade timer's interval, 0 while it is stopped.
    int TimerInterval() const { return m_timer; }

  private:
    void StartTimer(int interval);

    const bool m_layered;
    const int m_doubleClickTime;
    const int m_margin;
    int m_opacity = 0;
    int m_timer = 0;
    QRect m_last;
    QRect m_hitArea;
    bool m_clicked = false;
    int64_t m_lastClick = 0;
    TimerControl m_timerControl;
};

}  // namespace pagelark
