#include <gtest/gtest.h>

#include "engine/watch/ChangeTracker.h"
#include "engine/watch/CommandLine.h"
#include "engine/watch/RepeatSchedule.h"

namespace pagelark {
namespace {

ItemOutcome Outcome(int number, std::string url, std::string result,
                    std::vector<std::string> entries = {}) {
    return {number, std::move(url), "a#DATA#b", std::move(result), std::move(entries)};
}

TEST(ChangeTrackerTest, MarksOnlyItemsWhoseResultChangedSinceTheirLastRun) {
    ChangeTracker tracker;
    EXPECT_TRUE(tracker
                    .Record({Outcome(1, "http://a/", "10"), Outcome(2, "http://b/", "x"),
                             Outcome(3, "http://c/", "", {"http://c/1", "http://c/2"})})
                    .empty());
    EXPECT_EQ(tracker.ChangedCount(), 0);

    // Item 2 now watches another page: a first run again, whatever it finds.
    const std::vector<int> changed =
        tracker.Record({Outcome(1, "http://a/", "11"), Outcome(2, "http://other/", "y"),
                        Outcome(3, "http://c/", "", {"http://c/2", "http://c/3"})});
    EXPECT_EQ(changed, std::vector<int>{1});
    EXPECT_TRUE(tracker.IsChanged(1));
    EXPECT_FALSE(tracker.IsChanged(2));
    EXPECT_FALSE(tracker.IsChanged(3));
    EXPECT_TRUE(tracker.IsNewEntry(3, "http://c/3"));
    EXPECT_FALSE(tracker.IsNewEntry(3, "http://c/2"));
    EXPECT_FALSE(tracker.IsNewEntry(2, "http://other/"));

    // An unseen change outlives a repeat that changes nothing; seeing it clears it.
    EXPECT_TRUE(tracker.Record({Outcome(1, "http://a/", "11")}).empty());
    EXPECT_EQ(tracker.Record({Outcome(1, "http://a/", "12")}), std::vector<int>{1});
    EXPECT_TRUE(tracker.IsChanged(1));
    EXPECT_TRUE(tracker.ClearChanged(1));
    EXPECT_FALSE(tracker.ClearChanged(1));
    EXPECT_EQ(tracker.ChangedCount(), 0);
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
