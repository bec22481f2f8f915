#include "report/widgets/ReportTipState.h"

#include <algorithm>

namespace pagelark {

ReportTipState::ReportTipState(bool layered, int doubleClickTime, int margin)
    : m_layered(layered), m_doubleClickTime(doubleClickTime), m_margin(margin) {}

ReportTipState::ShowResult ReportTipState::Show(const QRect& rect, const QSize& text, bool focus) {
    if (rect.isEmpty() || !focus || rect == m_last) {
        Hide();
        return {};
    }
    // The cell as it lies in the tip, grown by the margins and a pixel all round.
    m_hitArea = QRect(-1, -1, rect.width() + 2 * m_margin + 2, rect.height() + 2);
    m_last = rect;
    if (text.width() <= rect.width()) {
        Hide();
        return {};
    }
    ShowResult result;
    result.shown = true;
    // The text starts where the cell's does, two pixels below the top, inside a border.
    result.window = QRect(rect.left() - m_margin, rect.top(), text.width() + 2 * m_margin,
                          std::max(rect.height(), text.height() + 4));
    if (m_layered) {
        if (m_opacity < kOpaque) StartTimer(kFadeInterval);
        result.applyOpacity = true;
    }
    return result;
}

void ReportTipState::Hide() {
    if (!m_layered) return;
    // Full opacity for a moment: a tip shown again at once (the next clipped
    // cell) appears without fading; the grace tick then resets it.
    m_opacity = kOpaque;
    StartTimer(kHideGrace);
}

bool ReportTipState::Tick() {
    if (m_opacity == kOpaque) {
        m_opacity = 0;
        StartTimer(0);
        return false;
    }
    m_opacity = std::min(m_opacity + kFadeStep, kOpaque);
    if (m_opacity == kOpaque) StartTimer(0);
    return true;
}

bool ReportTipState::LeftPress(int64_t time) {
    const bool doubleClick = m_clicked && time - m_lastClick < m_doubleClickTime;
    m_clicked = true;
    m_lastClick = time;
    return doubleClick;
}

void ReportTipState::StartTimer(int interval) {
    m_timer = interval;
    if (m_timerControl) m_timerControl(interval);
}

}  // namespace pagelark
