#include "files/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

namespace fs = std::filesystem;

// The real calls, each noted by name; Fsync fails when asked to.
class WatchedCalls : public SafeFile::SystemCalls {
  public:
    int Open(const char* path, int flags, mode_t mode) override {
        calls.emplace_back("open");
        return SystemCalls::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        calls.emplace_back("write");
        return SystemCalls::Write(fd, data, size);
    }
    int Fsync(int fd) override {
        calls.emplace_back("fsync");
        if (!failFsync) return SystemCalls::Fsync(fd);
        errno = EIO;
        return -1;
    }
    int Close(int fd) override {
        calls.emplace_back("close");
        return SystemCalls::Close(fd);
    }
    int Rename(const char* from, const char* to) override {
        calls.emplace_back("rename");
        return SystemCalls::Rename(from, to);
    }
    int Unlink(const char* path) override {
        calls.emplace_back("unlink");
        return SystemCalls::Unlink(path);
    }

    bool failFsync = false;
    std::vector<std::string> calls;
};

class SafeFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("pagelark-safe-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "My Script.xml").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    size_t FilesInDir() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
    }

    fs::path dir;
    std::string path;
};

TEST_F(SafeFileTest, WritesAndReplacesKeepingPermissions) {
    ASSERT_TRUE(WriteFileSafely(path, "first"));
    EXPECT_EQ(ReadFile(path), "first");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileSafely(path, std::string("second\r\n\0x", 10)));
    EXPECT_EQ(ReadFile(path), std::string("second\r\n\0x", 10));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SafeFileTest, AnInterruptedSaveLeavesTheOldFile) {
    ASSERT_TRUE(WriteFileSafely(path, "old list"));
    {
        SafeFile file(path);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("half of a new li"));
        EXPECT_EQ(FilesInDir(), 2u);
    }  // gone before Commit
    EXPECT_EQ(ReadFile(path), "old list");
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SafeFileTest, TheNewFileIsOnDiskBeforeItReplacesTheOld) {
    ASSERT_TRUE(WriteFileSafely(path, "old list"));
    WatchedCalls watched;
    {
        SafeFile file(path, watched);
        ASSERT_TRUE(file.Open() && file.Write("new list") && file.Commit());
    }
    EXPECT_EQ(watched.calls,
              (std::vector<std::string>{"open", "write", "fsync", "close", "rename"}));
    EXPECT_EQ(ReadFile(path), "new list");

    WatchedCalls failing;
    failing.failFsync = true;
    SafeFile file(path, failing);
    ASSERT_TRUE(file.Open() && file.Write("lost list"));
    EXPECT_FALSE(file.Commit());
    EXPECT_NE(file.Error().find("cannot write"), std::string::npos) << file.Error();
    EXPECT_EQ(ReadFile(path), "new list");
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SafeFileTest, FailuresAreReportedAndLeaveNothingBehind) {
    std::string error;
    EXPECT_FALSE(WriteFileSafely((dir / "missing" / "x.xml").string(), "x", &error));
    EXPECT_NE(error.find("missing/x.xml"), std::string::npos) << error;

    fs::create_directories(dir / "a folder");
    EXPECT_FALSE(WriteFileSafely((dir / "a folder").string(), "x", &error));
    EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
    EXPECT_EQ(FilesInDir(), 1u);  // only the folder

    SafeFile unopened(path);
    EXPECT_FALSE(unopened.Write("x"));
    EXPECT_FALSE(unopened.Commit());
}

}  // namespace
}  // namespace pagelark
