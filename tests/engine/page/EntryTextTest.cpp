#include "engine/page/EntryText.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(EntryText, FormatSplitAndPreview) {
    std::string entries;
    AppendEntry(entries, "__A7;", 1, "News");
    AppendEntry(entries, "__A9;", 2, "Archive");
    EXPECT_EQ(entries, "__A7;<++<1. News\n<++<__A9;<++<2. Archive\n<++<");

    const std::vector<EntryPiece> pieces = SplitEntries(entries);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1].marker, "__A9;");
    EXPECT_EQ(pieces[1].text, "2. Archive\n");
    EXPECT_EQ(BuildPreview(entries), "1. News\n2. Archive\n");

    AppendEntry(entries, "__A10;", 3, "Sport");
    EXPECT_EQ(BuildPreview(entries), "1. News\n2. Archive\n3. Sport\n");
    AppendEntry(entries, "__A11;", 4, "Weather");
    EXPECT_EQ(BuildPreview(entries), "1. News\n2. Archive\n3. Sport\n   ......");
    EXPECT_EQ(SplitEntries(entries).size(), 4u);
    EXPECT_EQ(BuildPreview(""), "");
}

}  // namespace
}  // namespace pagelark
