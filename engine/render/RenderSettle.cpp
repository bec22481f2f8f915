#include "engine/render/RenderSettle.h"

namespace pagelark {

RenderSettle::RenderSettle(Clock::time_point start, std::chrono::milliseconds deadline,
                           std::chrono::milliseconds quiet)
    : m_deadline(start + deadline), m_quiet(quiet), m_lastActivity(start) {}

void RenderSettle::Activity(Clock::time_point now) {
    if (now > m_lastActivity) m_lastActivity = now;
}

void RenderSettle::LoadStarted(Clock::time_point now) {
    Activity(now);
    m_finished = false;
}

void RenderSettle::LoadFinished(Clock::time_point now, bool ok) {
    Activity(now);
    m_finished = true;
    m_ok = ok;
}

RenderSettle::Verdict RenderSettle::Look(Clock::time_point now, bool loading,
                                         int openRequests) const {
    const bool quiet = m_finished && !loading && now - m_lastActivity >= m_quiet;
    if (quiet && !m_ok) return Verdict::Failed;
    if (quiet && openRequests <= 0) return Verdict::Ready;
    return now >= m_deadline ? Verdict::TimedOut : Verdict::Wait;
}

}  // namespace pagelark
