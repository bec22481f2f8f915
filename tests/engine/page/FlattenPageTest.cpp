#include "engine/page/FlattenPage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/collect/LinkTable.h"
#include "engine/page/TagScan.h"

namespace pagelark {
namespace {

std::string Flatten(std::string_view page, LinkTable& links, std::string_view base = "http://h/p") {
    std::vector<char> out(page.size() * 2 + 64, '\x7f');
    size_t length = 12345;
    EXPECT_TRUE(FlattenPage(page.data(), page.size(), out.data(), out.size(), length, base, links));
    EXPECT_EQ(out[length], '\0');
    return std::string(out.data(), length);
}

std::string Flatten(std::string_view page) {
    LinkTable links;
    return Flatten(page, links);
}

TEST(FlattenPage, TextAndTags) {
    const struct {
        const char* page;
        const char* flat;
    } cases[] = {
        {"a<b>c</b>d", "a c d"},  // every tag is one blank
        {"a<b><i>c", "a  c"},     // blanks are not collapsed
        {"one\ntwo", "onetwo"},   // line breaks join words
        {"a\tb\rc", "abc"},
        {"1 &lt; 2 &amp; 3", "1   2 &amp; 3"},      // only three entities, each to one blank
        {"&gt;x&nbsp;y&lt;", "x y"},                // decoded blanks at the ends are trimmed
        {"<script>var a=1;</script>", "var a=1;"},  // script text stays
        {"<p title=\"a>b\">x", "x"},                // ">" inside double quotes
        {"<p title='a>b'>x", "b'>x"},               // single quotes do not protect
        {"a<b c", "a b c"},                         // "<" without ">" becomes a blank
        {"<br> <hr/>  <p>", ""},                    // only tags and blanks
        {"<>x< >y", "x y"},                         // tags without a name
        {"  <b> x </b>  ", "x"},
        {"x</a>y", "x y"},  // "</a>" without an open anchor
    };
    for (const auto& c : cases)
        EXPECT_EQ(Flatten(c.page), c.flat) << c.page;
}

TEST(FlattenPage, ControlBytesAreDroppedOthersKept) {
    const std::string page = std::string("a\x01\x1e") + "\x1f" + "b\xe4\xb8\xad\x7f";
    EXPECT_EQ(Flatten(page), std::string("a\x1f"
                                         "b\xe4\xb8\xad\x7f"));
}

TEST(FlattenPage, AnchorsBecomeNumberedMarkers) {
    LinkTable links;
    EXPECT_EQ(Flatten("x<a href='u.html'>link</a>y", links), "x __A0;link __A;y");
    EXPECT_EQ(links.Lookup("__A0;"), "http://h/u.html");
    EXPECT_EQ(links.LinkCounter(), 1);

    // The counter goes on across pages, so markers stay unique.
    EXPECT_EQ(Flatten("<A HREF=\"/v\">v</A>", links), "__A1;v __A;");
    EXPECT_EQ(links.Lookup("__A1;"), "http://h/v");
}

TEST(FlattenPage, AnchorsWithoutUsableValueOpenWithoutMarker) {
    EXPECT_EQ(Flatten("<a name=top>x</a>"), "x __A;");
    EXPECT_EQ(Flatten("<a href=\"\">x</a>"), "x __A;");
    EXPECT_EQ(Flatten("<a href=' \t '>x</a>"), "x __A;");
    EXPECT_EQ(Flatten("<a href>x</a>"), "x __A;");
    EXPECT_EQ(Flatten("<a href='x>t</a>"), "t __A;");  // no closing single quote in the tag
}

TEST(FlattenPage, HrefForms) {
    const struct {
        const char* tag;
        const char* url;
    } cases[] = {
        {"<a href=\"x\">", "http://h/x"},
        {"<a href= \"x\">", "http://h/x"},
        {"<a href = \"x\">", "http://h/="},  // the byte after the blank is "="
        {"<a\nhref=x>", "http://h/x"},
        {"< a class=k href=x title=y>", "http://h/x"},
        {"<a data-href=q href='  sp ace  '>", "http://h/sp ace"},
        {"<a title=\"a>b\" href=x>", "http://h/x"},  // a quoted ">" inside a word
    };
    for (const auto& c : cases) {
        LinkTable links;
        const std::string flat = Flatten(std::string(c.tag) + "t", links);
        EXPECT_EQ(flat, "__A0;t") << c.tag;
        EXPECT_EQ(links.Lookup("__A0;"), c.url) << c.tag;
    }
}

TEST(FlattenPage, RefusesEmptyInputWithoutWriting) {
    LinkTable links;
    char out[8] = "keep";
    size_t length = 99;
    EXPECT_FALSE(FlattenPage(nullptr, 5, out, sizeof out, length, "", links));
    EXPECT_FALSE(FlattenPage("abc", 0, out, sizeof out, length, "", links));
    EXPECT_STREQ(out, "keep");
    EXPECT_EQ(length, 99u);
}

TEST(FlattenPage, StopsAtTheEndOfTheBuffer) {
    LinkTable links;
    char out[9];
    std::fill(std::begin(out), std::end(out), '#');
    size_t length = 0;
    ASSERT_TRUE(FlattenPage("abcdefgh", 8, out, 5, length, "", links));
    EXPECT_EQ(length, 4u);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(out[5], '#');

    // A marker that would not fit is neither written nor recorded.
    const std::string page = "ab<a href=x>linktext</a>";
    ASSERT_TRUE(FlattenPage(page.data(), page.size(), out, 6, length, "", links));
    EXPECT_EQ(std::string(out, length), "ab");
    EXPECT_EQ(links.LinkCounter(), 0);
    // A closing marker that does not fit ends the text where it stood.
    const std::string closing = "<a name=n>abcd</a>tail";
    ASSERT_TRUE(FlattenPage(closing.data(), closing.size(), out, 8, length, "", links));
    EXPECT_EQ(std::string(out, length), "abcd");
    EXPECT_EQ(out[6], '#');
}

// Flattening without anchors, written the slow obvious way: every "<" scans
// for its tag end afresh.
std::string NaiveFlattenWithoutAnchors(std::string_view page) {
    std::string out;
    for (size_t i = 0; i < page.size(); ++i) {
        if (page[i] != '<') {
            out.push_back(page[i]);
            continue;
        }
        out.push_back(' ');
        if (const size_t end = FindTagEnd(page, i); end != std::string_view::npos) i = end;
    }
    const size_t a = out.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return out.substr(a, out.find_last_not_of(' ') - a + 1);
}

TEST(FlattenPage, UnclosedTagsMatchTheTagScanEverywhere) {
    std::mt19937 random(7);
    const char alphabet[] = {'<', '>', '"', 'x', ' ', '\''};
    for (int round = 0; round < 3000; ++round) {
        std::string page(1 + random() % 40, ' ');
        for (char& c : page)
            c = alphabet[random() % sizeof alphabet];
        ASSERT_EQ(Flatten(page), NaiveFlattenWithoutAnchors(page)) << page;
    }
}

TEST(TagScan, TagNameRule) {
    EXPECT_EQ(ReadTagName("</a>", 1)->name, "/a");
    EXPECT_EQ(ReadTagName("< A HREF=x>", 1)->name, "A");
    EXPECT_EQ(ReadTagName("< A HREF=x>", 1)->end, 3u);
    EXPECT_FALSE(ReadTagName("<>", 1));
    EXPECT_FALSE(ReadTagName("< >", 1));
    EXPECT_FALSE(ReadTagName("<abc", 1));
}

}  // namespace
}  // namespace pagelark
