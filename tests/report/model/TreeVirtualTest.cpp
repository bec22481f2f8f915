#include <climits>
#include <cstring>

#include "tests/report/model/ReportFixture.h"

namespace pagelark {
namespace {

class Virtual : public ReportFixture {
  protected:
    void SetUp() override {
        ReportFixture::SetUp();
        DefineColumns(2);
        model.ModifyReportStyle(0, RCS_VIRTUAL);
        model.SetItemCount(1000);
        parent.dispInfo = [this](ReportItemInfo& info) {
            asked.push_back({info.item, info.subItem});
            info.mask &= RIF_TEXT | RIF_IMAGE | RIF_STATE;
            info.image = info.item % 7;
            info.state = RIS_BOLD | RIS_SELECTED;  // the parent cannot select
            if (info.subItem == 1 && info.item % 2) info.mask &= ~RIF_TEXT & ~RIF_IMAGE;
            if (info.mask & RIF_TEXT)
                std::snprintf(info.text, static_cast<size_t>(info.textMax), "row %d/%d%s",
                              info.item, info.subItem, version.c_str());
            return 0;
        };
    }
    std::vector<std::pair<int, int>> asked;
    std::string version;  // changes when the parent's data change
};

TEST_F(Virtual, RowsAreFetchedOncePerSlot) {
    EXPECT_EQ(model.GetItemCount(), 1000);
    EXPECT_EQ(model.GetItemText(5, 0), "row 5/0");
    EXPECT_EQ(model.GetItemText(5, 0), "row 5/0");
    EXPECT_EQ(model.GetItemText(5, 1), "");  // never fetched for subitem 1: asks once
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], std::make_pair(5, 1));
    EXPECT_EQ(model.GetItemText(4, 1), "row 4/1");
    EXPECT_EQ(model.GetItemText(4, 1), "row 4/1");
    EXPECT_EQ(asked.size(), 3u);
    // Item 133 shares item 5's slot and evicts it.
    model.GetItemText(133, 0);
    model.GetItemText(5, 0);
    EXPECT_EQ(asked.size(), 5u);
}

TEST_F(Virtual, EmptySegmentsAreFetchedAgain) {
    model.GetItemText(3, 1);  // odd rows answer nothing for subitem 1
    model.GetItemText(3, 1);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(Virtual, InvalidateAndSwitchingTheCacheOff) {
    model.GetItemText(8, 0);
    model.InvalidateItemCache(9);  // another slot: no effect
    model.GetItemText(8, 0);
    EXPECT_EQ(asked.size(), 1u);
    model.InvalidateItemCache(8);
    model.GetItemText(8, 0);
    EXPECT_EQ(asked.size(), 2u);
    model.InvalidateItemCache();
    model.GetItemText(8, 0);
    EXPECT_EQ(asked.size(), 3u);
    model.EnableItemCache(false);
    model.GetItemText(8, 0);
    model.GetItemText(8, 0);
    EXPECT_EQ(asked.size(), 5u);
    // Nothing read while it was off may come back once it is on again.
    version = " new";
    model.EnableItemCache(true);
    EXPECT_EQ(model.GetItemText(8, 0), "row 8/0 new");
}

TEST_F(Virtual, ShrinkingTheCountDropsWhatLiesPastIt) {
    model.GetItemText(500, 0);
    model.SelectItems(3, 3, true, false, false, false);
    model.SelectItems(500, 500, true, true, false, false);
    model.SetItemCount(10);
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{3}));
    EXPECT_EQ(model.GetNextSelectedItem(3), -2);
    EXPECT_EQ(model.GetFocusRow(), -2);
    model.SetItemCount(1000);
    ReportItemInfo info;
    info.item = 500;
    model.GetItem(info);
    EXPECT_EQ(info.state, RIS_BOLD);
    EXPECT_EQ(asked.size(), 2u);  // item 500 is asked for again
}

TEST_F(Virtual, AParentThatReadsAnotherRowWhileAnswering) {
    std::string inner;
    const auto answer = parent.dispInfo;
    parent.dispInfo = [&](ReportItemInfo& info) {
        if (info.item == 5 && inner.empty()) inner = model.GetItemText(133, 0);  // same slot
        return answer(info);
    };
    EXPECT_EQ(model.GetItemText(5, 0), "row 5/0");
    EXPECT_EQ(inner, "row 133/0");
    EXPECT_EQ(model.GetItemText(133, 0), "row 133/0");
}

TEST_F(Virtual, SelectionBelongsToTheControl) {
    ReportItemInfo info;
    info.item = 10;
    ASSERT_EQ(model.GetItem(info), 1);
    EXPECT_EQ(info.state, RIS_BOLD);
    EXPECT_EQ(info.image, 3);
    model.SelectItems(10, 12, true, false, false, false);
    model.GetItem(info);
    EXPECT_EQ(info.state, RIS_BOLD | RIS_SELECTED | RIS_FOCUSED);
    EXPECT_EQ(model.GetFirstSelectedItem(), 10);
    EXPECT_EQ(model.GetNextSelectedItem(11), 12);
    model.SelectItems(500, 500, true, false, false, false);
    EXPECT_EQ(model.GetFirstSelectedItem(), 500);
    model.SelectItems(0, INT_MAX, true, false, false, false);
    EXPECT_EQ(model.Selection().Size(), 1000);
    int walked = 0;
    for (int i = model.GetFirstSelectedItem(); i >= 0; i = model.GetNextSelectedItem(i))
        EXPECT_EQ(i, walked++);
    EXPECT_EQ(walked, 1000);
}

using Tree = ReportFixture;

// Inserts texts with indents (tree level) at the end.
void AddTree(ReportModel& model, const std::vector<std::pair<std::string, int>>& rows) {
    for (const auto& [text, indent] : rows) {
        ReportItemInfo info;
        info.mask = RIF_TEXT | RIF_INDENT;
        info.item = model.GetItemCount();
        info.text = const_cast<char*>(text.c_str());
        info.indent = indent;
        model.InsertItem(info);
    }
}

TEST_F(Tree, SwitchingTreeModeKeepsEveryRowAndTheMarks) {
    DefineColumns(1);
    AddRows({"b", "a"});
    model.SortItems(0, true);
    model.SelectItems(1, 1, true, false, false, false);  // "b", item 0
    model.ModifyReportStyle(0, RCS_TREE);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"b", "a"}));  // index order
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{0}));
    EXPECT_EQ(model.GetFocusRow(), 0);
    AddTree(model, {{"a1", 1}});
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"b", "a", "a1"}));
    ASSERT_EQ(model.SortItems(0, true), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "a1", "b"}));
    ASSERT_EQ(model.DeleteItem(2), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "a1"}));
    model.SelectItems(0, 0, true, false, false, false);
    model.Collapse(0, false);
    // Off again: the hidden child shows too, and the list takes new rows.
    model.ModifyReportStyle(RCS_TREE, 0);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "a1"}));
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{0}));
    AddRows({"c"});
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "a1", "c"}));
    ReportItemInfo info;
    model.GetItem(info);
    EXPECT_EQ(info.state, RIS_SELECTED | RIS_FOCUSED);  // no tree bits without a tree
}

TEST_F(Tree, CollapseAndExpandKeepDisplayRows) {
    DefineColumns(1);
    model.ModifyReportStyle(0, RCS_TREE);
    AddTree(model, {{"A", 0}, {"A1", 1}, {"A1x", 2}, {"A2", 1}, {"B", 0}, {"B1", 1}});
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"A", "A1", "A1x", "A2", "B", "B1"}));
    model.SelectItems(4, 4, true, false, false, false);  // B
    model.SelectItems(2, 2, true, true, false, false);   // A1x, focus there
    ASSERT_EQ(model.Collapse(1, true), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"A", "A1", "A2", "B", "B1"}));
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{3}));  // B moved up; A1x is hidden
    EXPECT_EQ(model.GetFocusRow(), 1);
    ASSERT_EQ(model.Collapse(0, false), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"A", "B", "B1"}));
    EXPECT_EQ(model.GetItemRowString(0, ';'), "+A\n");
    EXPECT_EQ(model.GetItemRowString(2, ';'), "   B1\n");
    ASSERT_EQ(model.Expand(0, true), 1);  // A1 stays collapsed under A
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"A", "A1", "A2", "B", "B1"}));
    EXPECT_EQ(model.Expand(1, false), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"A", "A1", "A1x", "A2", "B", "B1"}));
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{4}));
    ReportItemInfo info;
    info.item = 2;
    model.GetItem(info);
    EXPECT_EQ(info.state & RIS_SELECTED, 0u);  // hiding dropped its selection
    EXPECT_EQ(parent.Codes(RCN_EXPANDING).size(), 2u);
    EXPECT_EQ(parent.Codes(RCN_EXPANDED).size(), 2u);

    parent.answer = [](const ReportNotify& n) { return n.header.code == RCN_EXPANDING; };
    EXPECT_EQ(model.Collapse(0, true), 0);
    EXPECT_EQ(model.GetRowCount(), 6);
}

TEST_F(Tree, AParentThatChangesTheTreeWhileAsked) {
    DefineColumns(1);
    model.ModifyReportStyle(0, RCS_TREE);
    AddTree(model, {{"A", 0}, {"A1", 1}, {"B", 0}, {"B1", 1}});
    parent.answer = [this](const ReportNotify& n) {
        if (n.header.code == RCN_EXPANDING) model.DeleteItem(0);  // A goes, and A1 with it
        return 0;
    };
    EXPECT_EQ(model.Collapse(2, true), 0);  // row 2 is gone
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"B", "B1"}));
    EXPECT_TRUE(parent.Codes(RCN_EXPANDED).empty());
}

TEST_F(Tree, SortKeepsChildrenUnderTheirParents) {
    DefineColumns(1);
    model.ModifyReportStyle(0, RCS_TREE);
    AddTree(model, {{"b", 0}, {"b2", 1}, {"b1", 1}, {"a", 0}, {"a1", 1}});
    model.SelectItems(2, 2, true, false, false, false);  // b1
    ASSERT_EQ(model.SortItems(0, true), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "a1", "b", "b1", "b2"}));
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{3}));
    EXPECT_EQ(model.GetFocusRow(), 3);
    // Deleting a branch removes and reports its children too.
    ASSERT_EQ(model.DeleteItem(2), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "a1"}));
    EXPECT_EQ(parent.Codes(RCN_ITEMDELETED).size(), 3u);
    EXPECT_EQ(model.GetFirstSelectedItem(), -2);
}

}  // namespace
}  // namespace pagelark
