#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace pagelark {

// "Repeat every N minutes": the next run is due N minutes after the previous
// one ended. Nothing is due while a run lasts, and after Stop nothing is due
// until the next Start. The clock is given so tests can move time on.
class RepeatSchedule {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr int kMaxMinutes = 1440;

    explicit RepeatSchedule(Clock clock = [] { return std::chrono::steady_clock::now(); });

    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // 0 turns repeating off; other values are held to 1..1440.
    void SetMinutes(int minutes);
    int Minutes() const { return m_minutes; }

    void RunStarted();
    void RunEnded();
    // Stop pressed: no repeat until the next Start.
    void Halt();

    bool Due() const;
    // Time left to the next run, when one is waited for.
    std::optional<std::chrono::seconds> TimeToNext() const;

  private:
    Clock m_clock;
    int m_minutes = 0;
    bool m_halted = false;
    bool m_running = false;
    std::optional<std::chrono::steady_clock::time_point> m_lastEnd;
    std::optional<std::chrono::steady_clock::time_point> m_next;
};

}  // namespace pagelark
