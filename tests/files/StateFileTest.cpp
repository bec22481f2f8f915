#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
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

}  // namespace
}  // namespace pagelark
