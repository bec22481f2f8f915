// The report model's column behaviour with the real header in place of the
// in-memory one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/FlatHeaderCtrl.h"
#include "report/model/ReportConstants.h"
#include "report/model/ReportModel.h"

namespace pagelark {
namespace {

class SilentParent : public ReportParent {
  public:
    int OnReportNotify(NotifyHeader&) override { return 0; }
};

class FlatHeaderReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        header.resize(600, 20);
        model.SetHeader(&header);
        model.SetParent(&parent, nullptr, 1011);
    }
    void DefineColumns(int count) {
        for (int n = 0; n < count; ++n) {
            SubItemDef def;
            def.format = HDF_STRING;
            def.width = 100;
            def.text = "Column " + std::to_string(n);
            ASSERT_EQ(model.DefineSubItem(n, def), n);
            ASSERT_EQ(model.ActivateSubItem(n, n), n);
        }
    }
    void AddRow(const std::string& text) {
        ReportItemInfo info;
        info.mask = RIF_TEXT;
        info.item = model.GetItemCount();
        info.text = const_cast<char*>(text.c_str());
        ASSERT_EQ(model.InsertItem(info), info.item);
    }

    CFlatHeaderCtrl header;
    SilentParent parent;
    ReportModel model;
};

TEST_F(FlatHeaderReportTest, ActivateMirrorsTheColumnIntoTheHeader) {
    SubItemDef def;
    def.format = HDF_STRING | RCF_SORTTIP | 0x40000;
    def.width = 50;
    def.minWidth = 80;
    def.text = "Result";
    model.DefineSubItem(0, def);
    ASSERT_EQ(model.ActivateSubItem(0, 0), 0);
    EXPECT_EQ(model.ActivateSubItem(0, 0), -1);
    HeaderItem item;
    ASSERT_TRUE(header.GetItem(0, item));
    EXPECT_EQ(item.text, "Result");
    EXPECT_EQ(item.data, 0);
    EXPECT_EQ(item.format, HDF_STRING);
    HeaderItemExtra extra;
    ASSERT_TRUE(header.GetItemExtra(0, extra));
    EXPECT_EQ(extra.tipText, "Sort by: Result");
    EXPECT_EQ(extra.flags, HeaderItemExtra::FixedWidth | 0x8);  // bits 16-23 of the format
    EXPECT_EQ(model.Columns().Extent(), 50);

    // A column fitted to its caption takes the header's content width.
    def.format = HDF_STRING | 0x10000;
    def.minWidth = 0;
    model.DefineSubItem(1, def);
    ASSERT_EQ(model.ActivateSubItem(1, 1), 1);
    EXPECT_EQ(model.GetSubItemWidth(1), header.ContentWidth(1, false));
    EXPECT_EQ(model.Columns().Extent(), 50 + header.ContentWidth(1, false));
}

TEST_F(FlatHeaderReportTest, WidthIsClampedAndReadBackFromTheHeader) {
    SubItemDef def;
    def.minWidth = 40;
    def.maxWidth = 300;
    model.DefineSubItem(0, def);
    model.ActivateSubItem(0, 0);
    const struct { int asked, stored; } cases[] = {{10, 40}, {1000, 300}, {120, 120}, {-1, 200}};
    for (const auto& c : cases) {
        EXPECT_EQ(model.SetSubItemWidth(0, c.asked), 1);
        EXPECT_EQ(model.GetSubItemWidth(0), c.stored) << c.asked;
        HeaderItem item;
        header.GetItem(0, item);
        EXPECT_EQ(item.width, c.stored);
        EXPECT_EQ(model.Columns().Extent(), c.stored);
    }
}

TEST_F(FlatHeaderReportTest, DefineAtZeroRenumbersTheHeaderItems) {
    DefineColumns(2);
    SubItemDef def;
    def.text = "new";
    ASSERT_EQ(model.DefineSubItem(0, def), 0);
    EXPECT_FALSE(model.IsActiveSubItem(0));
    EXPECT_TRUE(model.IsActiveSubItem(1));
    EXPECT_TRUE(model.IsActiveSubItem(2));
    HeaderItem item;
    header.GetItem(0, item);
    EXPECT_EQ(item.data, 1);
}

TEST_F(FlatHeaderReportTest, SortMarkFollowsClicksAndSurvivesDeactivation) {
    DefineColumns(3);
    AddRow("b");
    AddRow("a");
    const struct {
        int column;
        bool ascending;
    } clicks[] = {{2, true}, {2, false}};
    for (const auto& c : clicks) {
        ASSERT_EQ(model.OnColumnClick(c.column), 1);
        bool ascending = !c.ascending;
        EXPECT_EQ(header.GetSortColumn(&ascending), c.column);
        EXPECT_EQ(ascending, c.ascending);
    }
    EXPECT_EQ(model.DeactivateSubItem(0), 1);
    bool ascending = true;
    EXPECT_EQ(header.GetSortColumn(&ascending), 1);  // still column 2, now header item 1
    EXPECT_FALSE(ascending);
    EXPECT_EQ(model.DeactivateSubItem(2), 1);
    EXPECT_EQ(header.GetSortColumn(&ascending), -1);
    EXPECT_EQ(model.DeactivateAllSubItems(), 1);
    EXPECT_EQ(header.GetItemCount(), 0);
    EXPECT_EQ(model.Columns().Extent(), 0);
}

TEST_F(FlatHeaderReportTest, ActiveColumnsFollowTheHeaderOrder) {
    DefineColumns(3);
    AddRow("zero");
    model.SetItemText(0, 1, "one");
    model.SetItemText(0, 2, "two");
    ASSERT_TRUE(header.SetOrderArray({2, 0, 1}));
    model.RedefineSubItem(0, SubItemDef{});  // any header change re-reads the order
    EXPECT_EQ(model.Columns().Active(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(model.GetItemRowString(0, '|'), "two|zero|one\n");
}

}  // namespace
}  // namespace pagelark
