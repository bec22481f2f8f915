#pragma once

#include <chrono>

#include "engine/render/RenderRules.h"

namespace pagelark {

// When a page being rendered counts as loaded: it finished loading, nothing
// is loading now, none of its own requests (fetch, XMLHttpRequest) is open,
// and nothing has happened on its network for a quiet while. A load that
// failed fails the render once it, too, stays quiet (a page that moves on to
// another address starts a new load first). Past the deadline the render has
// timed out, whatever the page does. Plain time in, verdict out: the browser
// page feeds it what it sees.
class RenderSettle {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Verdict { Wait, Ready, Failed, TimedOut };

    RenderSettle(Clock::time_point start, std::chrono::milliseconds deadline,
                 std::chrono::milliseconds quiet = kRenderQuiet);

    // Something moved on the page's network: a request started or ended.
    void Activity(Clock::time_point now);
    void LoadStarted(Clock::time_point now);
    void LoadFinished(Clock::time_point now, bool ok);

    // A load ended since the last one started.
    bool LoadEnded() const { return m_finished; }

    // `loading`: the page says it is loading; `openRequests`: requests the
    // page's scripts made that have not ended.
    Verdict Look(Clock::time_point now, bool loading, int openRequests) const;

  private:
    const Clock::time_point m_deadline;
    const std::chrono::milliseconds m_quiet;
    Clock::time_point m_lastActivity;
    bool m_finished = false;  // a load ended since the last one started
    bool m_ok = false;        // and it succeeded
};

}  // namespace pagelark
