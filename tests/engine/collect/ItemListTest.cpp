#include "engine/collect/ItemList.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"

namespace pagelark {
namespace {

TEST(ItemList, NumbersAreTakenInOrderUntilTheSpaceEnds) {
    ItemList list;
    EXPECT_EQ(list.TakeItemNumber(), 1);
    EXPECT_EQ(list.TakeItemNumber(), 2);
    list.Empty(false);
    EXPECT_EQ(list.TakeItemNumber(), 1);
    list.nextItemNumber = kMaxItemNumber - 1;
    EXPECT_EQ(list.TakeItemNumber(), 9999);
    EXPECT_EQ(list.TakeItemNumber(), 0);  // 10000 would read as a disabled row
}

TEST(ItemList, EmptyingKeepsOrRestartsLinkNumbers) {
    ItemList list;
    EXPECT_EQ(list.links.Record("http://a/"), "__A0;");
    EXPECT_EQ(list.links.Record("http://b/"), "__A1;");
    list.results.SetEntries("1", "e");
    list.results.SetPreview("1", "p");
    list.Empty(false);  // Load
    EXPECT_FALSE(list.links.Lookup("__A0;"));
    EXPECT_FALSE(list.results.Entries("1"));
    EXPECT_FALSE(list.results.Preview("1"));
    EXPECT_EQ(list.links.Record("http://c/"), "__A2;");
    list.Empty(true);  // New
    EXPECT_EQ(list.links.Record("http://d/"), "__A0;");
}

TEST(ItemList, LinkMapIteratesInLinkNumberOrder) {
    LinkTable links;
    for (int i = 0; i < 12; ++i)
        links.Record("u" + std::to_string(i));
    int expected = 0;
    for (const auto& [marker, url] : links.Snapshot()) {
        EXPECT_EQ(marker, OpeningMarker(expected));
        EXPECT_EQ(url, "u" + std::to_string(expected));
        ++expected;
    }
    EXPECT_EQ(expected, 12);
}

TEST(ItemList, PageCacheKeepsAPageUntilItsLastUseInAnyCase) {
    PageCache cache;
    cache.PlanUse("http://Example.org/News");
    cache.PlanUse("HTTP://EXAMPLE.ORG/news");
    cache.PlanUse("http://example.org/once");
    const auto page = std::make_shared<FlatPage>(FlatPage{"flat text", PageLinks(5)});
    EXPECT_EQ(cache.Use("http://example.org/NEWS"), nullptr);  // the first use downloads
    cache.Put("http://example.org/NEWS", page);
    EXPECT_TRUE(cache.Contains("http://EXAMPLE.org/News"));
    EXPECT_EQ(cache.Use("HTTP://EXAMPLE.ORG/NEWS"), page);  // the last use
    EXPECT_FALSE(cache.Contains("http://example.org/News"));
    // A page no later item needs is not kept at all.
    EXPECT_EQ(cache.Use("http://example.org/once"), nullptr);
    cache.Put("http://example.org/once", page);
    EXPECT_EQ(cache.Size(), 0u);
    EXPECT_EQ(page.use_count(), 1);
}

TEST(ItemList, OnlyLinksThatEntriesPointToAreKept) {
    ItemList list;
    PageLinks page(list.links.LinkCounter());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(page.Record("http://x/" + std::to_string(i), 10), OpeningMarker(i));
    EXPECT_EQ(page.Record("http://x/long", 4), "");  // no room for the marker
    list.links.Advance(page);
    EXPECT_EQ(list.links.LinkCounter(), 5);  // every link was counted
    // Two items gather overlapping links of the same page.
    const std::string first = "__A1;<++<1. One\n<++<__A3;<++<2. Three\n<++<";
    const std::string second = "__A3;<++<1. Three\n<++<";
    list.links.Keep(first, page);
    list.results.SetEntries("1", first);
    list.links.Keep(second, page);
    list.results.SetEntries("2", second);
    EXPECT_EQ(list.links.Size(), 2u);
    EXPECT_EQ(list.links.Lookup("__A1;"), "http://x/1");
    list.RemoveResults("1");
    EXPECT_FALSE(list.links.Lookup("__A1;"));
    EXPECT_EQ(list.links.Lookup("__A3;"), "http://x/3");  // item 2 still points there
    list.RemoveResults("2");
    EXPECT_EQ(list.links.Size(), 0u);
    EXPECT_EQ(list.links.LinkCounter(), 5);
}

TEST(ItemList, TheLinkCounterStopsAtItsTopInsteadOfWrapping) {
    constexpr LinkNumber kTop = std::numeric_limits<LinkNumber>::max();
    PageLinks page(kTop - 1);
    EXPECT_EQ(page.Record("http://x/", 64), "__A9223372036854775806;");
    EXPECT_EQ(page.Record("http://y/", 64), "");
    EXPECT_EQ(page.NextNumber(), kTop);
    EXPECT_EQ(page.Lookup("__A9223372036854775806;"), "http://x/");
    EXPECT_FALSE(MarkerNumber("__A-1;"));
    EXPECT_FALSE(MarkerNumber("__A01;"));
    EXPECT_FALSE(MarkerNumber("__A99999999999999999999;"));
}

TEST(ItemList, RowDataCarriesTheDisabledOffset) {
    EXPECT_EQ(RowDataFor(12, true), 12);
    EXPECT_EQ(RowDataFor(12, false), 10012);
    EXPECT_EQ(ItemNumberFromData(10012), 12);
    EXPECT_EQ(ItemNumberFromData(9999), 9999);
    EXPECT_TRUE(IsDisabledData(10000));
    EXPECT_EQ(ItemStateName(static_cast<int>(ItemState::Failed)), "Failed");
    EXPECT_EQ(ItemStateName(0), "");
}

}  // namespace
}  // namespace pagelark
