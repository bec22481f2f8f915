#include "engine/watch/RepeatSchedule.h"

#include <algorithm>

namespace pagelark {

RepeatSchedule::RepeatSchedule(Clock clock) : m_clock(std::move(clock)) {}

void RepeatSchedule::SetMinutes(int minutes) {
    m_minutes = minutes <= 0 ? 0 : std::min(minutes, kMaxMinutes);
    // A new interval counts from the end of the last run, if one is waited for.
    m_next.reset();
    if (m_minutes != 0 && m_lastEnd && !m_running && !m_halted)
        m_next = *m_lastEnd + std::chrono::minutes(m_minutes);
}

void RepeatSchedule::RunStarted() {
    m_running = true;
    m_halted = false;
    m_next.reset();
}

void RepeatSchedule::RunEnded() {
    m_running = false;
    m_lastEnd = m_clock();
    if (m_halted || m_minutes == 0) return;
    m_next = *m_lastEnd + std::chrono::minutes(m_minutes);
}

void RepeatSchedule::Halt() {
    m_halted = true;
    m_next.reset();
}

bool RepeatSchedule::Due() const {
    return m_next && m_clock() >= *m_next;
}

std::optional<std::chrono::seconds> RepeatSchedule::TimeToNext() const {
    if (!m_next) return std::nullopt;
    const auto left = std::chrono::ceil<std::chrono::seconds>(*m_next - m_clock());
    return std::max(left, std::chrono::seconds(0));
}

}  // namespace pagelark
