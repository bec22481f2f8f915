#pragma once

// What the report model's columns do through any header that implements the
// header interface: the in-memory one and the window's flat header both run
// these, instantiated beside each.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/report/model/ReportFixture.h"

namespace pagelark {

template <typename Header>
class HeaderContract : public BasicReportFixture<Header> {
  protected:
    void SetUp() override {
        if constexpr (requires(Header& h) { h.resize(600, 20); }) this->header.resize(600, 20);
        BasicReportFixture<Header>::SetUp();
    }
};

TYPED_TEST_SUITE_P(HeaderContract);

TYPED_TEST_P(HeaderContract, ActivateOnceAndMirrorIntoTheHeader) {
    SubItemDef def;
    def.format = HDF_STRING | RCF_SORTTIP | RCF_FIXEDWIDTH;
    def.width = 50;
    def.minWidth = 80;
    def.text = "Result";
    this->model.DefineSubItem(0, def);
    ASSERT_EQ(this->model.ActivateSubItem(0, 0), 0);
    EXPECT_EQ(this->model.ActivateSubItem(0, 0), -1);
    HeaderItem item;
    ASSERT_TRUE(this->header.GetItem(0, item));
    EXPECT_EQ(item.text, "Result");
    EXPECT_EQ(item.data, 0);
    EXPECT_EQ(item.format, HDF_STRING);
    HeaderItemExtra extra;
    ASSERT_TRUE(this->header.GetItemExtra(0, extra));
    EXPECT_EQ(extra.tipText, "Sort by: Result");
    EXPECT_EQ(extra.flags, HeaderItemExtra::FixedWidth | 0x8);  // bits 16-23 of the format
    EXPECT_EQ(this->model.Columns().Extent(), 50);
}

TYPED_TEST_P(HeaderContract, WidthIsClampedAndReadBackFromTheHeader) {
    SubItemDef def;
    def.minWidth = 40;
    def.maxWidth = 300;
    this->model.DefineSubItem(0, def);
    this->model.ActivateSubItem(0, 0);
    const struct { int asked, stored; } cases[] = {{10, 40}, {1000, 300}, {120, 120}, {-1, 200}};
    for (const auto& c : cases) {
        EXPECT_EQ(this->model.SetSubItemWidth(0, c.asked), 1);
        EXPECT_EQ(this->model.GetSubItemWidth(0), c.stored) << c.asked;
        HeaderItem item;
        this->header.GetItem(0, item);
        EXPECT_EQ(item.width, c.stored);
        EXPECT_EQ(this->model.Columns().Extent(), c.stored);
    }
}

TYPED_TEST_P(HeaderContract, DefineAtZeroShiftsEveryRowAndRenumbersTheHeader) {
    this->DefineColumns(2);
    this->AddRows({"first", "second"});
    this->model.SetItemText(-1, 1, "pseudo");
    SubItemDef def;
    def.text = "new";
    ASSERT_EQ(this->model.DefineSubItem(0, def), 0);
    EXPECT_EQ(this->model.GetItemText(0, 1), "first");
    EXPECT_EQ(this->model.GetItemText(1, 1), "second");
    EXPECT_EQ(this->model.GetItemText(0, 0), "");
    EXPECT_EQ(this->model.GetItemText(-1, 2), "pseudo");
    // The header items now name subitems 1 and 2; the new column is not active.
    HeaderItem item;
    this->header.GetItem(0, item);
    EXPECT_EQ(item.data, 1);
    EXPECT_FALSE(this->model.IsActiveSubItem(0));
    EXPECT_TRUE(this->model.IsActiveSubItem(1));
    EXPECT_TRUE(this->model.IsActiveSubItem(2));
    EXPECT_EQ(this->model.GetSubItemWidth(0), ReportColumns::kDefaultWidth);
    // A row inserted later has a segment for every definition.
    this->AddRows({"third"}, 2);
    EXPECT_EQ(this->model.GetItemText(2, 2), "third");
    EXPECT_EQ(this->model.DefineSubItem(5, def), -1);
}

TYPED_TEST_P(HeaderContract, SortMarkFollowsClicksAndStaysOnItsColumnThroughDeactivation) {
    this->DefineColumns(3);
    this->AddRows({"b", "a"});
    for (const bool ascending : {true, false}) {
        ASSERT_EQ(this->model.OnColumnClick(2), 1);
        bool shown = !ascending;
        EXPECT_EQ(this->header.GetSortColumn(&shown), 2);
        EXPECT_EQ(shown, ascending);
    }
    EXPECT_EQ(this->model.DeactivateSubItem(0), 1);
    bool ascending = true;
    EXPECT_EQ(this->header.GetSortColumn(&ascending), 1);  // still column 2, now header item 1
    EXPECT_FALSE(ascending);
    EXPECT_EQ(this->model.DeactivateSubItem(2), 1);
    EXPECT_EQ(this->header.GetSortColumn(&ascending), -1);
    EXPECT_EQ(this->model.DeactivateSubItem(2), 0);
    EXPECT_EQ(this->model.DeactivateAllSubItems(), 1);
    EXPECT_EQ(this->header.GetItemCount(), 0);
    EXPECT_EQ(this->model.Columns().Extent(), 0);
}

TYPED_TEST_P(HeaderContract, AHeaderChangeIsCopiedAndReported) {
    this->DefineColumns(2);
    this->model.DeactivateAllSubItems();
    this->model.ActivateSubItem(1, 0);  // header item 0 shows subitem 1
    this->model.ActivateSubItem(0, 1);
    this->header.SetItemWidth(0, 150);
    this->header.SetItemFormat(0, HDF_STRING | HDF_RIGHT);
    this->model.OnHeaderItemChanged(0, true, true);
    EXPECT_EQ(this->model.GetSubItemWidth(1), 150);
    EXPECT_EQ(this->model.Columns().Def(1).format & HDF_JUSTIFYMASK, HDF_RIGHT);
    EXPECT_EQ(this->model.Columns().Extent(), 250);
    const auto changed = this->parent.Codes(RCN_COLUMNCHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].item, -2);
    EXPECT_EQ(changed[0].subItem, 1);
}

TYPED_TEST_P(HeaderContract, LanguageChangeRedefinesEveryColumn) {
    this->DefineColumns(4);
    this->AddRows({"kept"});
    ASSERT_EQ(this->model.DeactivateAllSubItems(), 1);
    EXPECT_TRUE(this->model.Columns().Active().empty());
    for (int n = 0; n < 4; ++n) {
        SubItemDef def;
        def.format = HDF_STRING;
        def.width = n == 3 ? 10 : -1;
        def.minWidth = 30;
        def.text = "Spalte " + std::to_string(n);
        EXPECT_EQ(this->model.RedefineSubItem(n, def), 1);
        EXPECT_EQ(this->model.ActivateSubItem(n, n), n);
    }
    EXPECT_EQ(this->model.RedefineSubItem(4, SubItemDef{}), 0);
    HeaderItem item;
    this->header.GetItem(2, item);
    EXPECT_EQ(item.text, "Spalte 2");
    EXPECT_EQ(this->model.GetSubItemWidth(0), ReportColumns::kDefaultWidth);
    EXPECT_EQ(this->model.GetSubItemWidth(3), 30);
    EXPECT_EQ(this->model.GetItemRowString(0, ';'), "kept;;;\n");
}

TYPED_TEST_P(HeaderContract, ActiveColumnsFollowTheHeaderOrder) {
    this->DefineColumns(3);
    this->AddRows({"zero"});
    this->model.SetItemText(0, 1, "o|ne");
    this->model.SetItemImage(0, 2, 4);
    ASSERT_TRUE(this->header.SetOrderArray({2, 0, 1}));
    this->model.RedefineSubItem(0, SubItemDef{});  // any header change re-reads the order
    EXPECT_EQ(this->model.Columns().Active(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(this->model.GetItemRowString(0, '|'), "4|zero|o ne\n");
}

REGISTER_TYPED_TEST_SUITE_P(HeaderContract, ActivateOnceAndMirrorIntoTheHeader,
                            WidthIsClampedAndReadBackFromTheHeader,
                            DefineAtZeroShiftsEveryRowAndRenumbersTheHeader,
                            SortMarkFollowsClicksAndStaysOnItsColumnThroughDeactivation,
                            AHeaderChangeIsCopiedAndReported, LanguageChangeRedefinesEveryColumn,
                            ActiveColumnsFollowTheHeaderOrder);

}  // namespace pagelark
