#include "engine/page/ExtractResult.h"

#include <gtest/gtest.h>

#include "engine/collect/MemoryRows.h"
#include "engine/collect/ResultMaps.h"
#include "engine/collect/StoreExtraction.h"

namespace pagelark {
namespace {

constexpr int kLineHeight = 15;  // of the list's font, as the test's rows measure it

// The preview band: one line per entry shown, and a margin of 4 pixels.
int PreviewHeight(int lines) {
    return lines * kLineHeight + 4;
}

// The worker's two steps: extract, then store what was gathered in the row
// and the maps.
std::string ExtractInto(std::string_view text, std::string_view filter, int row, MemoryRows& rows,
                        ResultMaps& maps) {
    const Extraction extraction = ExtractResult(text, filter);
    StoreExtraction(extraction, row, rows, maps);
    return extraction.result;
}

class ExtractResultTest : public ::testing::Test {
  protected:
    ExtractResultTest() : rows(kLineHeight) { row = rows.AppendRow(7); }

    std::string Extract(std::string_view text, std::string_view filter) {
        return ExtractInto(text, filter, row, rows, maps);
    }
    const MemoryRow& Row() const { return rows.Rows()[static_cast<size_t>(row)]; }

    MemoryRows rows;
    ResultMaps maps;
    int row = 0;
};

TEST_F(ExtractResultTest, DataWords) {
    const char* text = "Price: 12.50 USD";
    const struct {
        const char* filter;
        const char* result;
    } cases[] = {
        {"Price:#DATA,1#", "12.50 "},  // word 0 is the empty word before the blank
        {"Price:#DATA,0#", ""},
        {"Price:#DATA,1,2#", "12.50 USD "},
        {"Price:#DATA,1,99#", "12.50 USD "},
        {"Price:#DATA#", ""},             // no first word number
        {"Price:#DATA,-4,3#", ""},        // negative counts as 0
        {"Price:#DATA,2,0#", "USD "},     // fewer than one word counts as one
        {"Price:#DATA,1#USD", "12.50 "},  // END on the text's last bytes is found
        {"Price:#DATA,1#EUR", "N/A"},
        {"Price:#PARA,1,5#EUR", "12.50 USD "},  // PARA runs on to the end
        {"Price:#para,1,5#EUR", "12.50 USD "},  // mode names in any case
        {"Price:#DATA,1#Price", "N/A"},         // END only before START is not found
        {"Price:#PARA,1#Price", "12.50 "},
        {"Cost:#DATA,1#", "N/A"},
        {"Price#DATA,1", "N/A"},
        {"#DATA,1#x", "N/A"},
        {"x#FOO,1#", "N/A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Extract(text, c.filter), c.result) << c.filter;
}

TEST_F(ExtractResultTest, DataWorksOnTextWithoutMarkers) {
    const char* text = "Top __A3;Story one __A; more __A12;x __A; end";
    EXPECT_EQ(Extract(text, "Top#DATA,1,3#"), "Story one more ");
    EXPECT_EQ(Extract(text, "A12#DATA,0#"), "N/A");    // markers are gone
    EXPECT_EQ(Extract(text, "A12#HREF,5,1#"), "N/A");  // only inside a marker
}

TEST_F(ExtractResultTest, NearClause) {
    const char* text = "Weather old Today x Weather a b c d e f";
    EXPECT_EQ(Extract(text, "Weather#PARA,1,5,NEAR Today#"), "a b c d e ");
    EXPECT_EQ(Extract(text, "Weather#PARA,1,5,NEAR Tomorrow#"), "N/A");
    EXPECT_EQ(Extract(text, "Weather#PARA,1,1#"), "old ");
    // START is looked for from the byte after the near text's first.
    EXPECT_EQ(Extract(text, "Weather#PARA,1,1,NEAR Weather old#"), "a ");
}

TEST_F(ExtractResultTest, HrefGathersEntriesAndPreview) {
    const char* text = "Menu __A1;Home __A; __A2;Latest results __A; tail";
    EXPECT_EQ(Extract(text, "Menu#Href,10,5#tail"), "1 Items Found");
    EXPECT_EQ(maps.Entries("7"), "__A2;<++<1. Latest results\n<++<");
    EXPECT_EQ(maps.Preview("7"), "1. Latest results\n");
    EXPECT_EQ(Row().previewHeight, PreviewHeight(1));
}

TEST_F(ExtractResultTest, HrefPreviewShowsThreeThenDots) {
    const char* three = "L __A1;one __A; __A2;two __A; __A3;three __A; end";
    EXPECT_EQ(Extract(three, "L#HREF,10,1#end"), "3 Items Found");
    EXPECT_EQ(maps.Preview("7"), "1. one\n2. two\n3. three\n");
    EXPECT_EQ(Row().previewHeight, PreviewHeight(3));

    const char* five = "L __A1;a __A; __A2;b __A; __A3;c __A; __A4;d __A; __A5;e __A; end";
    EXPECT_EQ(Extract(five, "L#HREF,10,1#end"), "5 Items Found");
    EXPECT_EQ(maps.Preview("7"), "1. a\n2. b\n3. c\n   ......");
    EXPECT_EQ(Row().previewHeight, PreviewHeight(4));  // never more than four lines
    EXPECT_EQ(Extract(five, "L#HREF,2,1#end"), "2 Items Found");
    EXPECT_EQ(Extract(five, "L#HREF,0,1#end"), "5 Items Found");  // 0 means the default 5
}

TEST_F(ExtractResultTest, HrefRowStateAndFallbackHeight) {
    MemoryRows unmeasured;  // no font to measure: 56 pixels
    const int r = unmeasured.AppendRow(3);
    unmeasured.Rows()[0].state = 0x2 | 0x4;  // selected and bold
    unmeasured.Rows()[0].image = 3;
    EXPECT_EQ(ExtractInto("L __A1;a link __A; end", "L#HREF,5,1#end", r, unmeasured, maps),
              "1 Items Found");
    EXPECT_EQ(unmeasured.Rows()[0].previewHeight, 56 + 4);
    EXPECT_EQ(unmeasured.Rows()[0].state, 0x2u);  // caller bits cleared, selection kept
    EXPECT_EQ(unmeasured.Rows()[0].image, 3);     // the image is left alone
    EXPECT_TRUE(maps.Entries("3"));
}

TEST_F(ExtractResultTest, HrefWithoutQualifyingLinkChangesNothing) {
    const char* text = "Menu __A1;Home __A; __A2;News __A; tail";
    EXPECT_EQ(Extract(text, "Menu#HREF#tail"), "N/A");        // least 16 by default
    EXPECT_EQ(Extract(text, "Menu#HREF,5,300#tail"), "N/A");  // 300 means the default 16
    EXPECT_EQ(Extract(text, "Menu#HREF,5,1#nowhere"), "N/A");
    EXPECT_FALSE(maps.Entries("7"));
    EXPECT_FALSE(maps.Preview("7"));
    EXPECT_EQ(Row().previewHeight, 0);
}

TEST_F(ExtractResultTest, EntryNumbersRestartPerItem) {
    const int second = rows.AppendRow(8);
    const char* text = "L __A1;first link __A; __A2;second link __A; end";
    EXPECT_EQ(Extract(text, "L#HREF,5,1#end"), "2 Items Found");
    EXPECT_EQ(ExtractInto(text, "L#HREF,5,1#end", second, rows, maps), "2 Items Found");
    EXPECT_EQ(maps.Entries("8"), maps.Entries("7"));
    EXPECT_EQ(maps.Preview("8"), "1. first link\n2. second link\n");
}

}  // namespace
}  // namespace pagelark
