#include "engine/render/RenderSettle.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

using namespace std::chrono_literals;
using Verdict = RenderSettle::Verdict;

const RenderSettle::Clock::time_point t0{};

TEST(RenderSettle, ReadyOnlyOnceLoadedAndQuietWithNoRequestOpen) {
    RenderSettle settle(t0, 10s, 500ms);
    EXPECT_EQ(settle.Look(t0 + 900ms, false, 0), Verdict::Wait);  // not loaded yet
    settle.LoadStarted(t0 + 10ms);
    settle.LoadFinished(t0 + 100ms, true);
    EXPECT_EQ(settle.Look(t0 + 599ms, false, 0), Verdict::Wait);
    EXPECT_EQ(settle.Look(t0 + 700ms, true, 0), Verdict::Wait);  // loading again
    // A request of the page's scripts: the quiet while starts over.
    settle.Activity(t0 + 400ms);
    EXPECT_EQ(settle.Look(t0 + 899ms, false, 0), Verdict::Wait);
    EXPECT_EQ(settle.Look(t0 + 900ms, false, 1), Verdict::Wait);  // still open
    EXPECT_EQ(settle.Look(t0 + 900ms, false, 0), Verdict::Ready);
    // An activity seen late, with an older time, moves nothing back.
    settle.Activity(t0 + 50ms);
    EXPECT_EQ(settle.Look(t0 + 900ms, false, 0), Verdict::Ready);
}

TEST(RenderSettle, AFailedLoadFailsOnlyIfNoOtherLoadFollows) {
    RenderSettle moved(t0, 10s, 500ms);
    moved.LoadFinished(t0 + 100ms, false);
    EXPECT_EQ(moved.Look(t0 + 300ms, false, 0), Verdict::Wait);
    moved.LoadStarted(t0 + 300ms);  // a script sent the page on
    moved.LoadFinished(t0 + 400ms, true);
    EXPECT_EQ(moved.Look(t0 + 900ms, false, 0), Verdict::Ready);

    RenderSettle failed(t0, 10s, 500ms);
    failed.LoadFinished(t0 + 100ms, false);
    EXPECT_EQ(failed.Look(t0 + 600ms, false, 3), Verdict::Failed);
}

TEST(RenderSettle, APageThatNeverGoesQuietTimesOutAtItsDeadline) {
    RenderSettle settle(t0, 2s, 500ms);
    settle.LoadFinished(t0 + 100ms, true);
    for (auto at = t0 + 100ms; at < t0 + 2s; at += 200ms) {
        settle.Activity(at);
        EXPECT_EQ(settle.Look(at, false, 0), Verdict::Wait);
    }
    EXPECT_EQ(settle.Look(t0 + 2s, false, 0), Verdict::TimedOut);
    // A page that is loaded and quiet by then is read, however late.
    RenderSettle late(t0, 2s, 500ms);
    late.LoadFinished(t0 + 1s, true);
    EXPECT_EQ(late.Look(t0 + 3s, false, 0), Verdict::Ready);
}

}  // namespace
}  // namespace pagelark
