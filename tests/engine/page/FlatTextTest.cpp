#include "engine/page/FlatText.h"

#include <gtest/gtest.h>

#include <random>

namespace pagelark {
namespace {

TEST(FindText, NeverStartsInsideAMarker) {
    EXPECT_EQ(FindText("x __A12; y __A;", "A12", 0), -1);
    EXPECT_EQ(FindText("x __A12; A12", "A12", 0), 9);
    EXPECT_EQ(FindText("__A1;Hello", "Hello", 0), 5);
    EXPECT_EQ(FindText("__A1;Hello", ";Hello", 0), 4);  // a match may start at the ";"
    EXPECT_EQ(FindText("a_b", "_b", 0), 1);             // a single "_" is ordinary
}

TEST(FindText, BoundsAndCorrections) {
    EXPECT_EQ(FindText("xxabc", "abc", 0), 2);  // ends on the last byte: found
    EXPECT_EQ(FindText("abc", "abc", 0), 0);
    EXPECT_EQ(FindText("abc", "abcd", 0), -1);
    EXPECT_EQ(FindText("abcabc", "abc", 1), 3);
    EXPECT_EQ(FindText("abc", "c", 3), -1);  // start past the last byte
    EXPECT_EQ(FindText("abc", "c", -1), -1);
    EXPECT_EQ(FindText("", "a", 0), -1);
    EXPECT_EQ(FindText("ab\r\ncd!", "abcd", 0), 0);  // line breaks are skipped in the window
}

TEST(StripMarkers, RemovesMarkersAndTrims) {
    EXPECT_EQ(StripMarkers("x __A12;link __A;y"), "x link y");
    EXPECT_EQ(StripMarkers("  __A1;x  "), "x");
    EXPECT_EQ(StripMarkers("a_b;c"), "a_b;c");
    EXPECT_EQ(StripMarkers("a __A7 unterminated"), "a");
}

TEST(WordAt, CountsBlankRuns) {
    const std::string_view text = " 12.50 USD";
    EXPECT_EQ(WordAt(text, 0, 0), "");  // the text begins with a blank
    EXPECT_EQ(WordAt(text, 0, 1), "12.50");
    EXPECT_EQ(WordAt(text, 0, 2), "USD");
    EXPECT_EQ(WordAt(text, 0, 3), "");
    EXPECT_EQ(WordAt("a \t b", 0, 1), "b");
    EXPECT_EQ(WordAt("abc def", 4, 0), "def");
    EXPECT_EQ(WordAt("abc", -1, 0), "");
    EXPECT_EQ(WordAt("abc", 0, -1), "");
    EXPECT_EQ(WordAt("abc", 3, 0), "");
}

// AppendWords is the one-pass form of calling WordAt for each word number.
TEST(WordAt, AppendWordsAgreesWithWordAt) {
    std::mt19937 random(11);
    const char alphabet[] = {'a', 'b', ' ', '\t', ' '};
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 12, ' ');
        for (char& c : text)
            c = alphabet[random() % sizeof alphabet];
        const long first = static_cast<long>(random() % 6) - 1;
        const long count = static_cast<long>(random() % 5);
        std::string expected;
        for (long i = 0; i < count; ++i) {
            const std::string word = WordAt(text, 0, first + i);
            if (word.empty()) break;
            expected += word + " ";
        }
        std::string actual;
        AppendWords(actual, text, first, count);
        ASSERT_EQ(actual, expected) << "'" << text << "' " << first << " " << count;
    }
}

TEST(NextLink, FindsMarkerTextAndNext) {
    const std::string_view text = "x __A1;News __A;rest";
    const LinkAt link = NextLink(text, 0);
    EXPECT_EQ(link.marker, "__A1;");
    EXPECT_EQ(link.text, "News ");
    EXPECT_EQ(link.next, 16);  // the closing marker is consumed

    const LinkAt open = NextLink("__A; __A2;x __A3;y __A;", 0);  // leading closing marker skipped
    EXPECT_EQ(open.marker, "__A2;");
    EXPECT_EQ(open.text, "x ");
    EXPECT_EQ(open.next, 12);  // the next opening marker starts the next search

    EXPECT_EQ(NextLink("__A1;text without end", 0).next, -1);
    EXPECT_EQ(NextLink("__A1", 0).next, -1);
    EXPECT_EQ(NextLink("no markers", 0).next, -1);
}

}  // namespace
}  // namespace pagelark
