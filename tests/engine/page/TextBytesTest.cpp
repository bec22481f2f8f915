#include "engine/page/TextBytes.h"

#include <gtest/gtest.h>

#include <climits>

#include "engine/page/Utf8.h"

namespace pagelark {
namespace {

TEST(TextBytes, ReadIntLikeAtoiWithoutOverflow) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"12", 12},
                 {"  12x", 12},
                 {"-3", -3},
                 {"+4", 4},
                 {"abc", 0},
                 {"", 0},
                 {"- 3", 0},
                 {"99999999999999", INT_MAX},
                 {"-99999999999999", INT_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadInt(c.text), c.value) << c.text;
}

TEST(TextBytes, WhiteSpaceIsAsciiOnly) {
    EXPECT_EQ(Trim(" \t\v\f\r\nx y\n "), "x y");
    EXPECT_EQ(Trim("\xa0x\xa0"), "\xa0x\xa0");  // bytes above 0x7F are never white space
    EXPECT_TRUE(EqualsIgnoreCase("HrEf", "href"));
    EXPECT_FALSE(EqualsIgnoreCase("hre", "href"));
}

TEST(Utf8, CutsOnCharacterBoundaries) {
    const std::string e = "\xc3\xa9";              // é, 2 bytes
    const std::string han = "\xe4\xb8\xad";        // 中, 3 bytes
    const std::string emoji = "\xf0\x9f\x98\x80";  // 4 bytes
    EXPECT_EQ(CutUtf8("a" + e, 2), "a");
    EXPECT_EQ(CutUtf8("a" + e, 3), "a" + e);
    EXPECT_EQ(CutUtf8(han + han, 5), han);
    EXPECT_EQ(CutUtf8("ab" + emoji, 5), "ab");
    EXPECT_EQ(CutUtf8("ab" + emoji, 6), "ab" + emoji);
    EXPECT_EQ(CutUtf8("short", 128), "short");
    EXPECT_EQ(CutUtf8(std::string(127, 'x') + han, 128), std::string(127, 'x'));
    // Bytes that are not UTF-8 are cut at the limit.
    EXPECT_EQ(CutUtf8("ab\x80\x80\x80\x80\x80", 4), "ab\x80\x80");
    EXPECT_EQ(CutUtf8("a\xe9z", 2), "a\xe9");
}

}  // namespace
}  // namespace pagelark
