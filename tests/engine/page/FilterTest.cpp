#include "engine/page/Filter.h"

#include <gtest/gtest.h>

#include "engine/page/GatherLinks.h"

namespace pagelark {
namespace {

using Params = std::vector<std::string>;

TEST(Filter, TakesTheLineApart) {
    const auto price = ParseFilter(" Price: #data, 1 ,2 # USD ");
    ASSERT_TRUE(price);
    EXPECT_EQ(price->start, "Price:");
    EXPECT_EQ(price->mode, FilterMode::Data);
    EXPECT_EQ(price->params, (Params{"1", "2"}));
    EXPECT_EQ(price->end, "USD");

    const auto weather = ParseFilter("Weather#PARA,1,5,NEAR Today#");
    ASSERT_TRUE(weather);
    EXPECT_EQ(weather->mode, FilterMode::Para);
    EXPECT_EQ(weather->end, "");
    EXPECT_EQ(weather->NearText(), "Today");

    EXPECT_EQ(ParseFilter("x#HREF#")->params, Params{});
    EXPECT_EQ(ParseFilter("a#DATA#1#b")->params, Params{"1"});  // a middle "#" ends the mode
    EXPECT_EQ(ParseFilter("a#DATA,1,2,3,4#b")->params, (Params{"1", "2", "3", "4"}));
    EXPECT_EQ(ParseFilter("a#DATA,1#b,c")->params, (Params{"1#b"}));  // commas in END count
}

TEST(Filter, Refusals) {
    for (const char* text :
         {"Price#DATA,1", "#DATA,1#x", "  #DATA#", "x#FOO,1#", "x#DATA#a,b", "no hashes", "x##"}) {
        EXPECT_FALSE(ParseFilter(text)) << text;
    }
}

TEST(Filter, NearClauseNeedsNearBlankAndText) {
    EXPECT_EQ(ParseFilter("a#DATA,1,2,near x y#")->NearText(), "x y");
    EXPECT_FALSE(ParseFilter("a#DATA,1,2,NEARx#")->NearText());
    EXPECT_FALSE(ParseFilter("a#DATA,1,2,NEAR #")->NearText());  // trimmed to "NEAR"
    EXPECT_FALSE(ParseFilter("a#DATA,1,NEAR x#")->NearText());   // must be the third parameter
}

TEST(GatherLinks, TakesQualifyingLinksInOrder) {
    const std::string_view segment = " __A1;Home __A; __A2; Latest\tresults  __A; __A3;x __A; end";
    const GatheredLinks some = GatherLinks(segment, 5, 5);
    EXPECT_EQ(some.count, 1);
    EXPECT_EQ(some.entries, "__A2;<++<1. Latestresults\n<++<");

    EXPECT_EQ(GatherLinks(segment, 2, 1).count, 2);  // at most `most`
    EXPECT_EQ(GatherLinks(segment, 5, 1).count, 3);
    // The closing marker of the last link ends the segment: that link is not taken.
    EXPECT_EQ(GatherLinks(" __A1;Home news __A;", 5, 1).count, 0);
    EXPECT_EQ(GatherLinks("", 5, 1).count, 0);
}

}  // namespace
}  // namespace pagelark
