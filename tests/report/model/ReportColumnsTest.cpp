#include "tests/report/model/ReportFixture.h"

namespace pagelark {
namespace {

using Columns = ReportFixture;

TEST_F(Columns, DefineAtZeroShiftsEveryRowAndRenumbersTheHeader) {
    DefineColumns(2);
    AddRows({"first", "second"});
    model.SetItemText(-1, 1, "pseudo");
    SubItemDef def;
    def.text = "new";
    ASSERT_EQ(model.DefineSubItem(0, def), 0);
    EXPECT_EQ(model.GetItemText(0, 1), "first");
    EXPECT_EQ(model.GetItemText(1, 1), "second");
    EXPECT_EQ(model.GetItemText(0, 0), "");
    EXPECT_EQ(model.GetItemText(-1, 2), "pseudo");
    // The header items now name subitems 1 and 2; the new column is not active.
    EXPECT_FALSE(model.IsActiveSubItem(0));
    EXPECT_TRUE(model.IsActiveSubItem(1));
    EXPECT_TRUE(model.IsActiveSubItem(2));
    EXPECT_EQ(model.GetSubItemWidth(0), ReportColumns::kDefaultWidth);
    // A row inserted later has a segment for every definition.
    AddRows({"third"}, 2);
    EXPECT_EQ(model.GetItemText(2, 2), "third");
    EXPECT_EQ(model.DefineSubItem(5, def), -1);
}

TEST_F(Columns, ActivateOnceAndMirrorIntoTheHeader) {
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
    const HeaderItemExtra* extra = header.GetItemExtra(0);
    EXPECT_EQ(extra->tipText, "Sort by: Result");
    EXPECT_EQ(extra->flags, HeaderItemExtra::FixedWidth | 0x8);  // bits 16-23 of the format
    EXPECT_EQ(model.Columns().Extent(), 50);

    header.FailNextInsert();
    model.DefineSubItem(1, def);
    EXPECT_EQ(model.ActivateSubItem(1, 0), -1);
    EXPECT_EQ(header.GetItemCount(), 1);
}

TEST_F(Columns, WidthIsClampedAndReadBackFromTheHeader) {
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

TEST_F(Columns, DeactivateKeepsTheSortMarkOnItsColumn) {
    DefineColumns(3);
    AddRows({"a"});
    ASSERT_EQ(model.SortItems(2, false), 1);
    EXPECT_EQ(model.DeactivateSubItem(0), 1);
    bool ascending = true;
    EXPECT_EQ(header.GetSortColumn(&ascending), 1);  // still column 2, now header item 1
    EXPECT_FALSE(ascending);
    EXPECT_EQ(model.DeactivateSubItem(2), 1);
    EXPECT_EQ(header.GetSortColumn(&ascending), -1);
    EXPECT_TRUE(ascending);
    EXPECT_EQ(model.DeactivateSubItem(2), 0);
    EXPECT_EQ(model.DeactivateAllSubItems(), 1);
    EXPECT_EQ(header.GetItemCount(), 0);
    EXPECT_EQ(model.Columns().Extent(), 0);
}

TEST_F(Columns, AHeaderChangeIsCopiedAndReported) {
    DefineColumns(2);
    model.DeactivateAllSubItems();
    model.ActivateSubItem(1, 0);  // header item 0 shows subitem 1
    model.ActivateSubItem(0, 1);
    header.SetItemWidth(0, 150);
    header.SetItemFormat(0, HDF_STRING | HDF_RIGHT);
    model.OnHeaderItemChanged(0, true, true);
    EXPECT_EQ(model.GetSubItemWidth(1), 150);
    EXPECT_EQ(model.Columns().Def(1).format & HDF_JUSTIFYMASK, HDF_RIGHT);
    EXPECT_EQ(model.Columns().Extent(), 250);
    const auto changed = parent.Codes(RCN_COLUMNCHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].item, -2);
    EXPECT_EQ(changed[0].subItem, 1);
}

TEST_F(Columns, LanguageChangeRedefinesEveryColumn) {
    DefineColumns(4);
    AddRows({"kept"});
    ASSERT_EQ(model.DeactivateAllSubItems(), 1);
    EXPECT_TRUE(model.Columns().Active().empty());
    for (int n = 0; n < 4; ++n) {
        SubItemDef def;
        def.format = HDF_STRING;
        def.width = n == 3 ? 10 : -1;
        def.minWidth = 30;
        def.text = "Spalte " + std::to_string(n);
        EXPECT_EQ(model.RedefineSubItem(n, def), 1);
        EXPECT_EQ(model.ActivateSubItem(n, n), n);
    }
    EXPECT_EQ(model.RedefineSubItem(4, SubItemDef{}), 0);
    HeaderItem item;
    header.GetItem(2, item);
    EXPECT_EQ(item.text, "Spalte 2");
    EXPECT_EQ(model.GetSubItemWidth(0), ReportColumns::kDefaultWidth);
    EXPECT_EQ(model.GetSubItemWidth(3), 30);
    EXPECT_EQ(model.GetItemRowString(0, ';'), "kept;;;\n");
}

TEST_F(Columns, ActiveColumnsFollowTheHeaderOrder) {
    DefineColumns(3);
    AddRows({"zero"});
    model.SetItemText(0, 1, "o|ne");
    model.SetItemImage(0, 2, 4);
    header.SetOrderArray({2, 0, 1});
    model.RedefineSubItem(0, SubItemDef{});  // any header change re-reads the order
    EXPECT_EQ(model.Columns().Active(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(model.GetItemRowString(0, '|'), "4|zero|o ne\n");
}

}  // namespace
}  // namespace pagelark
