#include "files/SafeFile.h"

#include <fcntl.h>
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
    struct OpenCall {
        std::string path;
        int flags = 0;
        mode_t mode = 0;
    };

    int Open(const char* path, int flags, mode_t mode) override {
        calls.emplace_back("open");
        opens.push_back({path, flags, mode});
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
    std::vector<OpenCall> opens;
};

// Sets the process's umask for one test.
class Umask {
  public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }

  private:
    mode_t m_old;
};

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

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
    // The folder is synced after the rename, or a crash could lose the rename.
    EXPECT_EQ(watched.calls, (std::vector<std::string>{"open", "write", "fsync", "close", "rename",
                                                       "open", "fsync", "close"}));
    ASSERT_EQ(watched.opens.size(), 2u);
    EXPECT_EQ(fs::path(watched.opens[1].path), dir);
    EXPECT_TRUE(watched.opens[1].flags & O_DIRECTORY);
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

// What others may read is fixed when the temporary file is created, never
// widened for a moment: the open asks for no more than the target allows.
TEST_F(SafeFileTest, TheNewFileIsNeverWiderThanTheTarget) {
    const Umask open(0);
    const auto save = [&](const std::string& target, SafeFile::Access access) {
        WatchedCalls watched;
        SafeFile file(target, watched, access);
        EXPECT_TRUE(file.Open() && file.Write("list") && file.Commit()) << file.Error();
        return watched.opens.empty() ? mode_t(07777) : watched.opens[0].mode;
    };
    ASSERT_TRUE(WriteFileSafely(path, "private list"));
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(save(path, SafeFile::Access::LikeTarget) & ~mode_t(0600), 0u);
    EXPECT_EQ(ModeOf(path), 0600u);
    // A state file is its owner's alone, also where an older one was not.
    const std::string state = (dir / "list.json").string();
    EXPECT_EQ(save(state, SafeFile::Access::OwnerOnly), 0600u);
    EXPECT_EQ(ModeOf(state), 0600u);
    ::chmod(state.c_str(), 0644);
    EXPECT_EQ(save(state, SafeFile::Access::OwnerOnly), 0600u);
    EXPECT_EQ(ModeOf(state), 0600u);

    // A new list gets what the umask allows; a kept mode is not cut by it.
    const Umask strict(077);
    const std::string fresh = (dir / "new.xml").string();
    save(fresh, SafeFile::Access::LikeTarget);
    EXPECT_EQ(ModeOf(fresh), 0600u);
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(save(path, SafeFile::Access::LikeTarget) & ~mode_t(0644), 0u);
    EXPECT_EQ(ModeOf(path), 0644u);
}

// A list reached through a symbolic link is saved where the link points; the
// link stays. A link that points nowhere is refused.
TEST_F(SafeFileTest, ASymlinkedTargetIsWrittenThrough) {
    fs::create_directories(dir / "real");
    const std::string real = (dir / "real" / "list.xml").string();
    ASSERT_TRUE(WriteFileSafely(real, "old list"));
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("real/list.xml", dir / "link.xml");
    fs::create_symlink("link.xml", dir / "chain.xml");
    ASSERT_TRUE(WriteFileSafely((dir / "chain.xml").string(), "new list"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.xml"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.xml"));
    EXPECT_EQ(ReadFile(real), "new list");
    EXPECT_EQ(ModeOf(real), 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), {}), 1);

    fs::create_symlink("gone/list.xml", dir / "dangling.xml");
    std::string error;
    EXPECT_FALSE(WriteFileSafely((dir / "dangling.xml").string(), "x", &error));
    EXPECT_NE(error.find("dangling.xml"), std::string::npos) << error;
    EXPECT_NE(error.find("link"), std::string::npos) << error;
    EXPECT_EQ(FilesInDir(), 4u);  // the folder and three links: no temporary file
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
