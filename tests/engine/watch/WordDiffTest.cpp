#include "engine/watch/WordDiff.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

using P = DiffPiece;
constexpr auto Same = DiffPiece::Kind::Same;
constexpr auto Added = DiffPiece::Kind::Added;
constexpr auto Removed = DiffPiece::Kind::Removed;

TEST(WordDiffTest, MarksTheWordsAddedAndRemovedInReadingOrder) {
    EXPECT_EQ(DiffWords("12.50 USD ", "12.99 USD "),
              (std::vector<P>{{Removed, "12.50"}, {Added, "12.99"}, {Same, " USD"}}));
    EXPECT_EQ(DiffWords("Sunny, 21 degrees ", "Sunny, 21 degrees "),
              (std::vector<P>{{Same, "Sunny, 21 degrees"}}));
    EXPECT_EQ(DiffWords("Tickets on sale now", "Tickets sold out now"),
              (std::vector<P>{
                  {Same, "Tickets"}, {Removed, " on sale"}, {Added, " sold out"}, {Same, " now"}}));
    EXPECT_EQ(DiffWords("a b c", "x a b c"), (std::vector<P>{{Added, "x"}, {Same, " a b c"}}));
    EXPECT_EQ(DiffWords("a b c", "a c"),
              (std::vector<P>{{Same, "a"}, {Removed, " b"}, {Same, " c"}}));
    EXPECT_EQ(DiffWords("", "3 Items Found"), (std::vector<P>{{Added, "3 Items Found"}}));
    EXPECT_EQ(DiffWords("N/A", ""), (std::vector<P>{{Removed, "N/A"}}));
    EXPECT_TRUE(DiffWords("", " ").empty());
}

// Chinese is written without blanks: each character is a word of its own.
TEST(WordDiffTest, ChineseCharactersAreWordsAndBrokenBytesStayWhole) {
    // 价格十元 -> 价格九元
    EXPECT_EQ(DiffWords("\xE4\xBB\xB7\xE6\xA0\xBC\xE5\x8D\x81\xE5\x85\x83",
                        "\xE4\xBB\xB7\xE6\xA0\xBC\xE4\xB9\x9D\xE5\x85\x83"),
              (std::vector<P>{{Same, "\xE4\xBB\xB7\xE6\xA0\xBC"},
                              {Removed, "\xE5\x8D\x81"},
                              {Added, "\xE4\xB9\x9D"},
                              {Same, "\xE5\x85\x83"}}));
    // A Result cut inside a character keeps its odd byte in its word.
    EXPECT_EQ(DiffWords("ab\xE5", "ab\xE5 c"), (std::vector<P>{{Same, "ab\xE5"}, {Added, " c"}}));
}

TEST(WordDiffTest, TextsTooLongToPairWordByWordAreReplacedWhole) {
    std::string before, after;
    for (int i = 0; i < 1200; ++i) {
        before += "w" + std::to_string(i) + " ";
        after += "w" + std::to_string(1199 - i) + " ";
    }
    const std::vector<P> pieces = DiffWords(before, after);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].kind, Removed);
    EXPECT_EQ(pieces[1].kind, Added);
    EXPECT_EQ(pieces[1].text.substr(0, 10), "w1199 w119");
}

}  // namespace
}  // namespace pagelark
