#include <gtest/gtest.h>

#include "engine/watch/ChangeTracker.h"
#include "engine/watch/CommandLine.h"
#include "engine/watch/RepeatSchedule.h"

namespace pagelark {
namespace {

using Kind = RowReason::Kind;

ItemOutcome Outcome(int number, std::string url, std::string result,
                    std::vector<std::string> urls = {}, RowReason reason = {}) {
    std::vector<EntryLink> entries;
    for (std::string& link : urls)
        entries.push_back({std::move(link), "text"});
    return {number,           std::move(url), "a#DATA#b", std::move(result), std::move(entries),
            std::move(reason)};
}

ItemOutcome Failed(int number, Kind kind, long value = 0, std::string result = "") {
    return Outcome(number, "http://a/", std::move(result), {}, RowReason{kind, value, {}});
}

std::vector<std::string> Results(const TrackedItem& item) {
    std::vector<std::string> results;
    for (const HistoryEntry& entry : item.history)
        results.push_back(entry.result + "@" + std::to_string(entry.time));
    return results;
}

TEST(ChangeTrackerTest, MarksOnlyItemsWhoseResultChangedSinceTheirLastRun) {
    ChangeTracker tracker;
    EXPECT_TRUE(tracker
                    .Record({Outcome(1, "http://a/", "10"), Outcome(2, "http://b/", "x"),
                             Outcome(3, "http://c/", "", {"http://c/1", "http://c/2"})},
                            1)
                    .changed.empty());
    EXPECT_EQ(tracker.ChangedCount(), 0);

    // Item 2 now watches another page: a first run again, whatever it finds.
    const RunMarks marks =
        tracker.Record({Outcome(1, "http://a/", "11"), Outcome(2, "http://other/", "y"),
                        Outcome(3, "http://c/", "", {"http://c/2", "http://c/3"})},
                       2);
    EXPECT_EQ(marks.changed, std::vector<int>{1});
    EXPECT_TRUE(tracker.IsChanged(1));
    EXPECT_FALSE(tracker.IsChanged(2));
    EXPECT_EQ(tracker.Find(2)->history.size(), 1u);
    EXPECT_FALSE(tracker.IsChanged(3));
    EXPECT_TRUE(tracker.IsNewEntry(3, "http://c/3"));
    EXPECT_FALSE(tracker.IsNewEntry(3, "http://c/2"));
    EXPECT_FALSE(tracker.IsNewEntry(2, "http://other/"));

    // An unseen change outlives a repeat that changes nothing; seeing it clears it.
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "11")}, 3).changed.empty());
    EXPECT_EQ(tracker.Record({Outcome(1, "http://a/", "12")}, 4).changed, std::vector<int>{1});
    EXPECT_TRUE(tracker.IsChanged(1));
    EXPECT_TRUE(tracker.ClearChanged(1));
    EXPECT_FALSE(tracker.ClearChanged(1));
    EXPECT_EQ(tracker.ChangedCount(), 0);
}

// The page changes, then answers 404 (its error page read as a page), comes
// back as before the 404, then with the first value.
TEST(ChangeTrackerTest, AFailureIsNeverAChangeAndTheNextGoodRunMeetsTheLastGoodResult) {
    ChangeTracker tracker;
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "10 USD")}, 100).changed.empty());
    EXPECT_EQ(tracker.Record({Outcome(1, "http://a/", "12 USD")}, 200).changed,
              std::vector<int>{1});
    const RunMarks gone = tracker.Record({Failed(1, Kind::HttpStatus, 404, "N/A")}, 300);
    EXPECT_TRUE(gone.changed.empty());
    EXPECT_EQ(tracker.Find(1)->reason, (RowReason{Kind::HttpStatus, 404, {}}));
    EXPECT_EQ(tracker.Find(1)->last.result, "12 USD");
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "12 USD")}, 400).changed.empty());
    EXPECT_TRUE(tracker.Find(1)->reason.Good());
    EXPECT_EQ(tracker.Record({Outcome(1, "http://a/", "10 USD")}, 500).changed,
              std::vector<int>{1});
    EXPECT_EQ(Results(*tracker.Find(1)),
              (std::vector<std::string>{"10 USD@500", "12 USD@200", "10 USD@100"}));
}

TEST(ChangeTrackerTest, RowsWithoutAGoodResultNeedAttentionOnceAfterTheirRuns) {
    ChangeTracker tracker;
    tracker.SetRules({false, 3, 20});
    tracker.Record({Outcome(1, "http://a/", "10")}, 1);
    EXPECT_TRUE(tracker.Record({Failed(1, Kind::Refused)}, 2).attention.empty());
    EXPECT_TRUE(tracker.Record({Failed(1, Kind::StartNotFound, 0, "N/A")}, 3).attention.empty());
    EXPECT_EQ(tracker.Record({Failed(1, Kind::HostNotFound)}, 4).attention, std::vector<int>{1});
    EXPECT_TRUE(tracker.NeedsAttention(1));
    EXPECT_EQ(tracker.Find(1)->failures, 3);
    // Said once; it stays until a good Result comes, which is no change here.
    EXPECT_TRUE(tracker.Record({Failed(1, Kind::HostNotFound)}, 5).attention.empty());
    EXPECT_EQ(tracker.AttentionCount(), 1);
    const RunMarks back = tracker.Record({Outcome(1, "http://a/", "10")}, 6);
    EXPECT_TRUE(back.changed.empty());
    EXPECT_FALSE(tracker.NeedsAttention(1));
    EXPECT_EQ(tracker.Find(1)->failures, 0);
    // A good run between failures starts the count again.
    tracker.Record({Failed(1, Kind::Refused)}, 7);
    tracker.Record({Failed(1, Kind::Refused)}, 8);
    tracker.Record({Outcome(1, "http://a/", "10")}, 9);
    EXPECT_TRUE(tracker.Record({Failed(1, Kind::Refused)}, 10).attention.empty());
}

TEST(ChangeTrackerTest, WithConfirmationASingleFlapIsNoChange) {
    ChangeTracker tracker;
    tracker.SetRules({true, 3, 20});
    tracker.Record({Outcome(1, "http://a/", "open")}, 1);
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "closed")}, 2).changed.empty());
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "open")}, 3).changed.empty());
    EXPECT_FALSE(tracker.Find(1)->pending);
    EXPECT_EQ(tracker.Find(1)->history.size(), 1u);
    // Seen twice in a row (a failure between does not count as a sighting):
    // a change, dated from its first sighting.
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "closed")}, 4).changed.empty());
    tracker.Record({Failed(1, Kind::Reset)}, 5);
    EXPECT_EQ(tracker.Record({Outcome(1, "http://a/", "closed")}, 6).changed, std::vector<int>{1});
    EXPECT_EQ(Results(*tracker.Find(1)), (std::vector<std::string>{"closed@4", "open@1"}));
}

TEST(ChangeTrackerTest, TheHistoryKeepsTheLastTwentyResultsWithTheLinksNewAtEach) {
    ChangeTracker tracker;
    tracker.Record({Outcome(1, "http://a/", "1 Items Found", {"http://a/1"})}, 1);
    for (int run = 2; run <= 30; ++run)
        tracker.Record({Outcome(1, "http://a/", std::to_string(run) + " Items Found",
                                {"http://a/" + std::to_string(run), "http://a/1"})},
                       run);
    const TrackedItem& item = *tracker.Find(1);
    ASSERT_EQ(item.history.size(), 20u);
    EXPECT_EQ(item.history.front().result, "30 Items Found");
    EXPECT_EQ(item.history.back().result, "11 Items Found");
    EXPECT_EQ(item.history.front().newEntries, (std::vector<EntryLink>{{"http://a/30", "text"}}));
}

TEST(RepeatScheduleTest, NextRunIsDueMinutesAfterTheLastEndedAndNeverDuringOneOrAfterStop) {
    auto now = std::chrono::steady_clock::time_point{};
    RepeatSchedule repeat([&] { return now; });
    repeat.SetMinutes(1);
    repeat.RunStarted();
    now += std::chrono::minutes(5);
    EXPECT_FALSE(repeat.Due()) << "a run still going is never doubled";
    repeat.RunEnded();
    now += std::chrono::seconds(59);
    EXPECT_FALSE(repeat.Due());
    EXPECT_EQ(repeat.TimeToNext(), std::chrono::seconds(1));
    now += std::chrono::seconds(1);
    EXPECT_TRUE(repeat.Due());
    repeat.RunStarted();
    EXPECT_FALSE(repeat.Due());

    repeat.Halt();  // Stop
    repeat.RunEnded();
    now += std::chrono::hours(1);
    EXPECT_FALSE(repeat.Due());
    repeat.RunStarted();
    repeat.RunEnded();
    repeat.SetMinutes(0);
    now += std::chrono::hours(1);
    EXPECT_FALSE(repeat.Due());
    EXPECT_FALSE(repeat.TimeToNext());
    repeat.SetMinutes(5000);
    EXPECT_EQ(repeat.Minutes(), RepeatSchedule::kMaxMinutes);
}

TEST(CommandLineTest, SplitsAsAShellWouldWithoutExpandingAnything) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("notify-send Pagelark"), (Words{"notify-send", "Pagelark"}));
    EXPECT_EQ(SplitCommandLine("  mail -s 'Pages changed' me@example.org  "),
              (Words{"mail", "-s", "Pages changed", "me@example.org"}));
    EXPECT_EQ(SplitCommandLine(R"(post "say \"hi\" to \$HOME" a\ b '' x"y"'z')"),
              (Words{"post", R"(say "hi" to $HOME)", "a b", "", "xyz"}));
    EXPECT_EQ(SplitCommandLine("run $HOME/*.sh ~ a;b|c"),
              (Words{"run", "$HOME/*.sh", "~", "a;b|c"}));  // no shell, nothing expanded
    EXPECT_EQ(SplitCommandLine("a \\\n b"), (Words{"a", "b"}));
    for (const char* bad : {"", "  ", "say 'unclosed", "say \"unclosed", "trailing\\"})
        EXPECT_FALSE(SplitCommandLine(bad)) << bad;
}

}  // namespace
}  // namespace pagelark
