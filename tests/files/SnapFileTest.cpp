#include "files/SnapFile.h"

#include <gtest/gtest.h>

#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"

namespace pagelark {
namespace {

class SnapFileTest : public ::testing::Test {
  protected:
    int Row(int data, const std::string& name, const std::string& result, const std::string& time) {
        const int row = rows.AppendRow(data);
        rows.Rows()[static_cast<size_t>(row)].texts = {"", name, result, time};
        return row;
    }
    std::string Snap() { return BuildSnapText(rows, list.results, list.links); }

    ItemList list;
    MemoryRows rows;
};

TEST_F(SnapFileTest, ItemLineThenKnownEntries) {
    for (int i = 0; i < 8; ++i)
        list.links.Record(i == 7 ? "U" : "other");
    Row(1, "N", "R", "10:15:00 AM");
    list.results.SetEntries("1", "__A7;<++<1. News\n<++<__A9;<++<2. Archive\n<++<");
    EXPECT_EQ(Snap(), "N,R,10:15:00 AM\r\n1. News,U\r\n");
}

TEST_F(SnapFileTest, LongTextsAreLeftOutOthersTrimmed) {
    // The length rule comes before the trimming: 255 bytes with a blank are kept.
    Row(1, " a,b ", std::string(254, 'x') + " ", "\t9:00:00 PM\n");
    Row(2, "c", std::string(255, 'y') + " ", "");
    EXPECT_EQ(Snap(), "a,b," + std::string(254, 'x') + ",9:00:00 PM\r\nc,,\r\n");
}

TEST_F(SnapFileTest, DisabledItemsKeepTheirEntriesAndOrderIsByItem) {
    list.links.Record("http://one/\n");
    Row(10002, "disabled", "", "");
    Row(1, "never collected", "", "");
    list.results.SetEntries("2", "__A0;<++<1. One\n<++<");
    list.results.SetEntries("10002", "__A0;<++<wrong key\n<++<");
    EXPECT_EQ(Snap(), "disabled,,\r\n1. One,http://one/\r\nnever collected,,\r\n");
}

TEST_F(SnapFileTest, NoRowsNoText) {
    EXPECT_EQ(Snap(), "");
}

}  // namespace
}  // namespace pagelark
