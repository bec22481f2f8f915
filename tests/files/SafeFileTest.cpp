#include "files/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

namespace fs = std::filesystem;

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
