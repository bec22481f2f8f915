#include "engine/collect/ItemList.h"

#include <gtest/gtest.h>

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

TEST(ItemList, PageCacheIgnoresLetterCase) {
    PageCache cache;
    cache.Put("http://Example.org/News", "flat text");
    EXPECT_EQ(cache.Find("HTTP://EXAMPLE.ORG/news"), "flat text");
    EXPECT_FALSE(cache.Find("http://example.org/other"));
    cache.Clear();
    EXPECT_EQ(cache.Size(), 0u);
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
