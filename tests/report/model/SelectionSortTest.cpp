#include <climits>

#include "tests/report/model/ReportFixture.h"

namespace pagelark {
namespace {

using Selection = ReportFixture;
using Sorting = ReportFixture;

TEST_F(Selection, FirstSelectedItemIsMinusTwoOrThePseudoItem) {
    DefineColumns(1);
    AddRows({"a", "b"});
    EXPECT_EQ(model.GetFirstSelectedItem(), -2);
    model.SelectItems(-1, -1, true, false, false, false);
    EXPECT_EQ(model.GetFirstSelectedItem(), -1);
    EXPECT_EQ(model.GetNextSelectedItem(-1), -2);
    model.SelectItems(1, 1, true, true, false, false);
    EXPECT_EQ(model.GetNextSelectedItem(-1), 1);
}

TEST_F(Selection, RangesAreClippedToTheRows) {
    DefineColumns(1);
    model.SelectItems(0, 0, true, false, false, false);  // no rows: no focus row either
    EXPECT_EQ(model.GetFocusRow(), -2);
    AddRows({"a", "b"});
    EXPECT_EQ(model.GetFocusRow(), -2);
    model.SelectItems(0, INT_MAX, true, false, false, false);
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{0, 1}));
    EXPECT_EQ(model.GetFocusRow(), 0);
    model.SelectItems(INT_MAX, 0, true, false, true, false);  // toggles both rows off
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{}));
    EXPECT_EQ(model.GetFocusRow(), -2);
}

TEST_F(Selection, DeleteAllDropsThePseudoItemsMarks) {
    model.ModifyReportStyle(0, RCS_NEWITEMROW);
    DefineColumns(1);
    model.SelectItems(-1, -1, true, false, false, false);
    model.DeleteAllItems();
    ReportItemInfo info;
    info.item = -1;
    model.GetItem(info);
    EXPECT_EQ(info.state, 0u);
    AddRows({"a", "b"});
    model.SelectItems(0, 0, true, false, false, false);
    EXPECT_EQ(model.GetFirstSelectedItem(), 0);
}

TEST_F(Selection, VetoKeepsOneRowOfARangeUnchanged) {
    DefineColumns(1);
    AddRows({"a", "b", "c", "d"});
    parent.answer = [](const ReportNotify& n) {
        return n.header.code == RCN_SELCHANGING && n.item == 2 ? 1 : 0;
    };
    model.SelectItems(0, 3, true, false, false, true);
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(parent.Codes(RCN_SELCHANGED).size(), 3u);
    EXPECT_EQ(parent.Codes(RCN_SELCHANGING).at(0).state, RIS_SELECTED | RIS_FOCUSED);
    EXPECT_EQ(parent.Codes(RCN_SELCHANGING).at(0).param, 100);
    // A vetoed deselection outside the new range stays too.
    parent.answer = [](const ReportNotify& n) {
        return n.header.code == RCN_SELCHANGING && n.item == 1 ? 1 : 0;
    };
    model.SelectItems(3, 3, true, false, false, true);
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{1, 3}));
    // Without notifying, nothing can be vetoed.
    model.SelectItems(2, 2, true, false, false, false);
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{2}));
}

TEST_F(Selection, RangesToggleKeepOthersAndSingleSelect) {
    DefineColumns(1);
    AddRows({"a", "b", "c", "d", "e"});
    model.SelectItems(3, 1, true, false, false, false);  // reversed range, focus on the first
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(model.GetFocusRow(), 3);
    model.SelectItems(0, 0, true, true, false, false);
    model.SelectItems(2, 2, true, true, true, false);  // toggles row 2 off
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{1, 3, 0}));
    model.SelectItems(4, 4, false, false, false, false);  // focus only; clears the others
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{}));
    EXPECT_EQ(model.GetFocusRow(), 4);

    model.ModifyReportStyle(0, RCS_SINGLESELECT);
    model.SelectItems(1, 4, true, true, false, false);  // a shift-click: only the clicked row
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{1}));
    model.SelectItems(3, 0, true, true, false, false);  // keep-others does not apply either
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{3}));
    ReportItemInfo info;
    info.item = 1;
    model.GetItem(info);
    EXPECT_EQ(info.state & (RIS_SELECTED | RIS_FOCUSED), 0u);
}

TEST_F(Sorting, DirectionFocusAndHeaderMark) {
    DefineColumns(2);
    AddRows({"b", "C", "a", "c"});
    model.SelectItems(1, 1, true, false, false, false);  // focus on "C"
    ASSERT_EQ(model.SortItems(0, true), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"C", "a", "b", "c"}));  // case-sensitive
    EXPECT_EQ(model.GetFocusRow(), 0);
    ASSERT_EQ(model.SortItems(0, false), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"c", "b", "a", "C"}));
    EXPECT_EQ(model.GetFocusRow(), 3);
    EXPECT_EQ(model.GetItemFromRow(3), 1);
    EXPECT_EQ(model.GetRowFromItem(0), 1);
    bool ascending = true;
    EXPECT_EQ(header.GetSortColumn(&ascending), 0);
    EXPECT_FALSE(ascending);
    model.DeactivateSubItem(1);
    EXPECT_EQ(model.SortItems(1, true), 0);
}

TEST_F(Sorting, BytesFrom0x80SortAfterAscii) {
    DefineColumns(1);
    AddRows({"\xe4\xb8\xad", "z", "\xc3\xa9", "Z"});
    model.SortItems(0, true);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"Z", "z", "\xc3\xa9", "\xe4\xb8\xad"}));
}

TEST_F(Sorting, AFocusOnNoRowOrThePseudoRowStaysThere) {
    DefineColumns(1);
    AddRows({"b", "a"});
    for (const uint32_t style : {0u, RCS_TREE})
        for (const int focus : {-2, -1}) {
            model.ModifyReportStyle(RCS_TREE, style);
            model.SelectItems(focus, focus, false, false, false, false);
            ASSERT_EQ(model.SortItems(0, style == 0), 1);
            EXPECT_EQ(model.GetFocusRow(), focus) << style;
            for (int item = -1; item < 2; ++item) {
                ReportItemInfo info;
                info.item = item;
                model.GetItem(info);
                EXPECT_EQ((info.state & RIS_FOCUSED) != 0, item == focus) << item;
            }
        }
}

TEST_F(Sorting, CaptionClickSortsAscendingFirstThenFlips) {
    DefineColumns(2);
    AddRows({"b", "a", "c"});
    const struct {
        int column;
        bool ascending;
    } clicks[] = {{0, true}, {0, false}, {0, true}, {1, true}, {0, true}};
    for (const auto& c : clicks) {
        ASSERT_EQ(model.OnColumnClick(c.column), 1);
        bool ascending = false;
        EXPECT_EQ(header.GetSortColumn(&ascending), c.column);
        EXPECT_EQ(ascending, c.ascending);
    }
    EXPECT_EQ(parent.Codes(RCN_COLUMNCLICK).back().keys, 0u);
    parent.answer = [](const ReportNotify& n) { return n.header.code == RCN_COLUMNCLICK; };
    EXPECT_EQ(model.OnColumnClick(1), 0);
    parent.answer = nullptr;
    model.ModifyReportStyle(0, RCS_NOSORT);
    EXPECT_EQ(model.OnColumnClick(1), 0);
    EXPECT_EQ(header.GetSortColumn(nullptr), 0);
}

TEST_F(Sorting, ColumnsWithoutTextSortByCheckThenImage) {
    DefineColumns(3);
    AddRows({"x", "y", "z", "w"});
    const int checks[] = {2, -1, 0, 1};
    const int images[] = {5, 3, -1, 4};
    for (int i = 0; i < 4; ++i) {
        ReportItemInfo info;
        info.mask = RIF_CHECK;
        info.item = i;
        info.subItem = 1;
        info.check = checks[i];
        model.SetItem(info);
        model.SetItemImage(i, 2, images[i]);
    }
    model.SortItems(1, true);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"y", "z", "w", "x"}));
    model.SortItems(2, false);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"x", "w", "y", "z"}));
    // Once either side has a text, texts decide; no text counts as empty.
    model.SetItemText(0, 2, "");
    model.SetItemText(3, 2, "t");
    model.SortItems(2, true);
    EXPECT_EQ(DisplayedTexts().back(), "w");
}

TEST_F(Sorting, CallerComparisonIsUsedUnchanged) {
    DefineColumns(1);
    AddRows({"a", "b", "c"});
    model.SetCompareFunction([](int a, int, int b, int, intptr_t value) { return value * (a - b); },
                             -1);
    model.SortItems(0, true);  // the direction is the function's business
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"c", "b", "a"}));
    // A comparison that contradicts itself must not walk out of the rows.
    model.SetCompareFunction([](int, int, int, int, intptr_t) { return -1; }, 0);
    AddRows(std::vector<std::string>(50, "x"));
    EXPECT_EQ(model.SortItems(0, true), 1);
    EXPECT_EQ(model.GetRowCount(), 53);
}

TEST_F(Sorting, DividerDoubleClickFitsTheWidestCell) {
    DefineColumns(2);
    AddRows({"abc", "abcdef"});
    model.SetItemImage(0, 0, 1);
    ReportItemInfo info;
    info.mask = RIF_STATE;
    info.item = 1;
    info.state = RIS_BOLD;
    model.SetItem(info);
    const auto width = [](const std::string& text, bool bold) {
        return static_cast<int>(text.size()) * (bold ? 10 : 7);
    };
    ASSERT_EQ(model.OnDividerDblClick(0, width, 16, 13), 1);
    // Row 0: 6 + 16 + 6 + 21 + 6 = 55; row 1 in bold: 6 + 60 + 6 = 72.
    EXPECT_EQ(model.GetSubItemWidth(0), 72);
    EXPECT_EQ(parent.Codes(RCN_DIVIDERDBLCLICK).at(0).keys, 0u);
    SubItemDef fixed;
    fixed.format = RCF_FIXEDWIDTH;
    fixed.width = 30;
    model.RedefineSubItem(1, fixed);
    EXPECT_EQ(model.OnDividerDblClick(1, width, 16, 13), 0);
    EXPECT_EQ(model.GetSubItemWidth(1), 30);
}

TEST_F(Sorting, NotificationMaskSilencesCodes) {
    DefineColumns(1);
    AddRows({"a"});
    model.SetNotificationMask(~(1u << (RCN_FIRST - RCN_SELCHANGED)));
    model.SelectItems(0, 0, true, false, false, true);
    EXPECT_EQ(parent.Codes(RCN_SELCHANGING).size(), 1u);
    EXPECT_TRUE(parent.Codes(RCN_SELCHANGED).empty());
}

}  // namespace
}  // namespace pagelark
