#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "files/StateFile.h"

namespace pagelark {
namespace {

TEST(StateFileTest, KeepsOutcomesAndMarksAcrossAWriteAndARead) {
    ChangeTracker tracker;
    tracker.Record({{7, "http://a/", "x#HREF#y", "2 Items Found", {"http://a/1"}}});
    tracker.Record(
        {{7, "http://a/", "x#HREF#y", "3 Items Found\xE4", {"http://a/1", "http://a/2"}}});
    const std::string path = ::testing::TempDir() + "state-" + std::to_string(::getpid());
    ASSERT_TRUE(WriteStateFile(path, tracker.Tracked()));
    StateRead read = ReadStateFile(path);
    EXPECT_EQ(read.problem, "");
    ChangeTracker restored;
    restored.Restore(std::move(read.items));
    EXPECT_TRUE(restored.IsChanged(7));
    EXPECT_TRUE(restored.IsNewEntry(7, "http://a/2"));
    EXPECT_FALSE(restored.IsNewEntry(7, "http://a/1"));
    EXPECT_EQ(restored.Tracked().at(7).last.entryUrls.size(), 2u);
    std::remove(path.c_str());
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
    };
    for (const char* text : damaged) {
        std::ofstream(path, std::ios::binary) << text;
        const StateRead read = ReadStateFile(path);
        EXPECT_NE(read.problem, "") << text;
        EXPECT_TRUE(read.items.empty()) << text;
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace pagelark
