#pragma once

#include <csignal>
#include <initializer_list>
#include <vector>

namespace pagelark::cli {

// Catches the given signals for its lifetime: the first one caught is kept
// for the caller to act on (stop as Stop does, then exit 128 + its number).
// The handlers are put back as they were afterwards, so a second Ctrl+C
// while the program prints ends it.
class StopSignals {
  public:
    explicit StopSignals(std::initializer_list<int> signals);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal caught first, or 0.
    int Caught() const;
    // Sleeps up to `milliseconds`, waking early once a signal is caught;
    // true when one was.
    bool SleepUnlessCaught(long milliseconds) const;

  private:
    struct Previous {
        int signal;
        struct sigaction action;
    };
    std::vector<Previous> m_previous;
};

}  // namespace pagelark::cli
