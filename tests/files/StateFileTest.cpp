#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "files/StateFile.h"
#include "files/StateWriter.h"
#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

TEST(StateFileTest, KeepsOutcomesHistoryAndMarksAcrossAWriteAndARead) {
    ChangeTracker tracker;
    tracker.SetRules({true, 2, 20});
    const auto outcome = [](std::string result, std::vector<EntryLink> entries,
                            RowReason reason = {}) {
        return ItemOutcome{
            7, "http://a/", "x#HREF#y", std::move(result), std::move(entries), std::move(reason)};
    };
    tracker.Record({outcome("2 Items Found", {{"http://a/1", "One"}})}, 1000);
    tracker.Record({outcome("3 Items Found\xE4", {{"http://a/1", "One"}, {"http://a/2", "Two"}})},
                   2000);
    tracker.Record({outcome("3 Items Found\xE4", {{"http://a/1", "One"}, {"http://a/2", "Two"}})},
                   3000);
    tracker.Record({outcome("4 Items Found", {})}, 4000);  // seen once: pending
    tracker.Record({outcome("N/A", {}, {RowReason::Kind::HttpStatus, 503, {}})}, 5000);
    const std::string path = ::testing::TempDir() + "state-" + std::to_string(::getpid());
    ASSERT_TRUE(WriteStateFile(path, tracker.Tracked()));
    StateRead read = ReadStateFile(path);
    EXPECT_EQ(read.problem, "");
    ChangeTracker restored;
    restored.Restore(std::move(read.items));
    EXPECT_TRUE(restored.IsChanged(7));
    EXPECT_TRUE(restored.IsNewEntry(7, "http://a/2"));
    EXPECT_FALSE(restored.IsNewEntry(7, "http://a/1"));
    const TrackedItem& item = *restored.Find(7);
    EXPECT_EQ(item.last.entries.size(), 2u);
    ASSERT_EQ(item.history.size(), 2u);
    // A byte that is not UTF-8 is kept as U+FFFD.
    EXPECT_EQ(item.history[0],
              (HistoryEntry{"3 Items Found\xEF\xBF\xBD", 2000, {{"http://a/2", "Two"}}}));
    EXPECT_EQ(item.history[1], (HistoryEntry{"2 Items Found", 1000, {}}));
    EXPECT_EQ(item.pending, (HistoryEntry{"4 Items Found", 4000, {}}));
    EXPECT_EQ(item.failures, 1);
    EXPECT_FALSE(item.attention);
    EXPECT_EQ(item.reason, (RowReason{RowReason::Kind::HttpStatus, 503, {}}));
    std::remove(path.c_str());
}

// A state file as the program wrote it before it kept a history (kept in
// tests/files/data): everything in it stays, and it is written back with
// every field an older program reads.
TEST(StateFileTest, AFileWithoutHistoryReadsWithoutLoss) {
    const std::string before = ReadFile(PAGELARK_TEST_DATA "/state-before-history.json");
    const std::optional<ChangeTracker::Items> items = ParseStateFile(before);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    const TrackedItem& price = items->at(1);
    EXPECT_EQ(price.last.result, "12.99 USD ");
    EXPECT_TRUE(price.changed);
    EXPECT_EQ(price.history, (std::vector<HistoryEntry>{{"12.99 USD ", 0, {}}}));
    const TrackedItem& news = items->at(2);
    EXPECT_EQ(news.last.entries.size(), 3u);
    EXPECT_EQ(news.newEntryUrls, (std::set<std::string>{"http://news.example.org/three"}));
    // An N/A was never a good Result.
    EXPECT_TRUE(items->at(3).history.empty());

    const nlohmann::json old = nlohmann::json::parse(before);
    const nlohmann::json again = nlohmann::json::parse(StateFileText(*items));
    EXPECT_EQ(again["format"], old["format"]);
    for (size_t i = 0; i < old["items"].size(); ++i) {
        for (const auto& [key, value] : old["items"][i].items())
            EXPECT_EQ(again["items"][i][key], value) << key;
    }
}

TEST(StateFileTest, AMissingFileIsNoEarlierRunAndADamagedOneIsReported) {
    const std::string path = ::testing::TempDir() + "state-bad-" + std::to_string(::getpid());
    EXPECT_EQ(ReadStateFile(path).problem, "");
    const char* damaged[] = {
        "",
        "{\"format\":1,\"items\":[{\"number\":1,",
        "[1,2]",
        "{\"format\":2,\"items\":[]}",
        "{\"format\":1,\"items\":[{\"number\":0,\"url\":\"\",\"filter\":\"\",\"result\":\"\","
        "\"entries\":[],\"changed\":false,\"new_entries\":[]}]}",
        "{\"format\":1,\"items\":[{\"number\":1,\"url\":5,\"filter\":\"\",\"result\":\"\","
        "\"entries\":[],\"changed\":false,\"new_entries\":[]}]}",
        "{\"format\":1,\"items\":[{\"number\":1,\"url\":\"\",\"filter\":\"\",\"result\":\"\","
        "\"entries\":[3],\"changed\":false,\"new_entries\":[]}]}",
        "{\"format\":1,\"items\":[{\"number\":1,\"url\":\"\",\"filter\":\"\",\"result\":\"\","
        "\"entries\":[],\"changed\":false,\"new_entries\":[],\"history\":[{\"result\":1}]}]}",
        "{\"format\":1,\"items\":[{\"number\":1,\"url\":\"\",\"filter\":\"\",\"result\":\"\","
        "\"entries\":[],\"changed\":false,\"new_entries\":[],\"failures\":-1}]}",
        "{\"format\":1,\"items\":[{\"number\":1,\"url\":\"\",\"filter\":\"\",\"result\":\"\","
        "\"entries\":[],\"changed\":false,\"new_entries\":[],\"reason\":{\"kind\":\"reset\"}}]}",
    };
    for (const char* text : damaged) {
        std::ofstream(path, std::ios::binary) << text;
        const StateRead read = ReadStateFile(path);
        EXPECT_NE(read.problem, "") << text;
        EXPECT_TRUE(read.items.empty()) << text;
    }
    std::remove(path.c_str());
}

// What a user watches is private: the folder is its owner's alone (also one an
// older version made wider), and so is every state file in it.
TEST(StateFileTest, TheFolderAndTheFilesAreTheOwnersAlone) {
    namespace fs = std::filesystem;
    const mode_t mask = ::umask(022);
    const fs::path root = ::testing::TempDir() + "state-folder-" + std::to_string(::getpid());
    const fs::path folder = root / "data" / "state";
    fs::remove_all(root);
    const auto mode = [](const fs::path& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0u;
    };
    ASSERT_TRUE(MakeStateFolder(folder.string()));
    EXPECT_EQ(mode(folder), 0700u);
    const std::string path = (folder / "list.json").string();
    ASSERT_TRUE(WriteStateFile(path, {}));
    EXPECT_EQ(mode(path), 0600u);
    ::chmod(folder.c_str(), 0755);
    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(MakeStateFolder(folder.string()));
    EXPECT_EQ(mode(folder), 0700u);
    ASSERT_TRUE(WriteStateFile(path, {}));
    EXPECT_EQ(mode(path), 0600u);
    ::umask(mask);
    fs::remove_all(root);
}

// The window hands its items over and goes on; what reaches the file is the
// newest of each path, and nothing handed over is lost at the end.
TEST(StateWriterTest, WritesTheNewestItemsOfEachPathAndWhatWaitsAtTheEnd) {
    const std::string first = ::testing::TempDir() + "writer-a-" + std::to_string(::getpid());
    const std::string second = ::testing::TempDir() + "writer-b-" + std::to_string(::getpid());
    const auto items = [](int run) {
        ChangeTracker::Items list;
        list[1].last.number = 1;
        list[1].last.result = std::to_string(run);
        return list;
    };
    const auto result = [](const std::string& path) {
        const StateRead read = ReadStateFile(path);
        return read.items.contains(1) ? read.items.at(1).last.result : read.problem;
    };
    {
        StateWriter writer;
        for (int run = 1; run <= 50; ++run)
            writer.Write(first, items(run));
        writer.Flush();
        EXPECT_EQ(result(first), "50");
        writer.Write(second, items(7));
        writer.Write(first, items(51));
    }
    EXPECT_EQ(result(second), "7");
    EXPECT_EQ(result(first), "51");
    std::remove(first.c_str());
    std::remove(second.c_str());
}

}  // namespace
}  // namespace pagelark
