#include "tests/report/model/ReportFixture.h"

namespace pagelark {
namespace {

using Model = ReportFixture;

ReportItemInfo ReadInfo(ReportModel& model, int item, int subItem, char* buffer, int size) {
    ReportItemInfo info;
    info.item = item;
    info.subItem = subItem;
    info.text = buffer;
    info.textMax = size;
    EXPECT_EQ(model.GetItem(info), 1);
    return info;
}

TEST_F(Model, ReadMaskNamesOnlyFieldsThatHoldValues) {
    DefineColumns();
    AddRows({""});
    char buffer[256];
    ReportItemInfo info = ReadInfo(model, 0, 1, buffer, sizeof buffer);
    EXPECT_EQ(info.mask, RIF_STATE | RIF_PARAM);  // never written
    info = ReadInfo(model, 0, 0, buffer, sizeof buffer);
    EXPECT_EQ(info.mask, RIF_TEXT | RIF_STATE | RIF_PARAM);  // written with an empty text
    EXPECT_STREQ(buffer, "");

    ReportItemInfo write;
    write.mask = RIF_IMAGE | RIF_CHECK | RIF_TEXTCOLOR | RIF_OVERLAY | RIF_BKCOLOR | RIF_PREVIEW |
                 RIF_INDENT;
    write.subItem = 2;
    write.image = 3;
    write.check = 0;
    write.textColor = 1;
    write.overlay = 2;
    write.bkColor = 0;
    write.previewHeight = 40;
    write.indent = 0;
    ASSERT_EQ(model.SetItem(write), 1);
    info = ReadInfo(model, 0, 2, nullptr, 0);
    EXPECT_EQ(info.mask, write.mask | RIF_STATE | RIF_PARAM);
    EXPECT_EQ(info.image, 3);
    EXPECT_EQ(info.overlay, 2);
    EXPECT_EQ(info.previewHeight, 40);
    EXPECT_EQ(info.param, 100);

    write.mask = RIF_TEXT;
    write.subItem = 0;
    write.text = nullptr;  // clears the text
    model.SetItem(write);
    EXPECT_FALSE(ReadInfo(model, 0, 0, buffer, sizeof buffer).mask & RIF_TEXT);
}

TEST_F(Model, OutOfRangeReadsLeaveTheRecordUntouched) {
    DefineColumns(2);
    AddRows({"a"});
    const struct { int item, subItem; } cases[] = {{-2, 0}, {1, 0}, {0, 2}, {0, -1}};
    for (const auto& c : cases) {
        ReportItemInfo info;
        info.item = c.item;
        info.subItem = c.subItem;
        info.image = 77;
        EXPECT_EQ(model.GetItem(info), 0);
        EXPECT_EQ(info.image, 77);
        info.mask = RIF_TEXT;
        EXPECT_EQ(model.SetItem(info), 0);
    }
    EXPECT_EQ(model.GetItemData(5), 0);
}

TEST_F(Model, TextsAreCutTo255BytesOnACharacterBoundary) {
    DefineColumns(1);
    const std::string ascii(300, 'x');
    std::string han;
    for (int i = 0; i < 90; ++i)
        han += "\xe4\xb8\xad";  // 3 bytes each: 255 falls on a boundary, 254 does not
    AddRows({ascii, han, std::string(254, 'y') + "\xc3\xa9"});
    EXPECT_EQ(model.GetItemText(0, 0), std::string(255, 'x'));
    EXPECT_EQ(model.GetItemText(1, 0), han.substr(0, 255));
    EXPECT_EQ(model.GetItemText(2, 0), std::string(254, 'y'));
    char small[5];
    ReadInfo(model, 1, 0, small, sizeof small);
    EXPECT_STREQ(small, "\xe4\xb8\xad");  // 4 usable bytes hold one whole character
}

TEST_F(Model, StateBitsOfTheControlCannotBeSet) {
    DefineColumns(1);
    AddRows({"a"});
    model.SelectItems(0, 0, true, false, false, false);
    ReportItemInfo info;
    info.mask = RIF_STATE;
    info.state = RIS_COLLAPSED | RIS_EXPANDED | RIS_BOLD | 0x10000;
    model.SetItem(info);
    info.mask = 0;
    model.GetItem(info);
    EXPECT_EQ(info.state, RIS_FOCUSED | RIS_SELECTED | RIS_BOLD | 0x10000);
}

TEST_F(Model, InsertKeepsDisplayOrderSelectionAndFocus) {
    DefineColumns(1);
    AddRows({"c", "a", "b"});
    model.SortItems(0, true);                            // rows show items 1, 2, 0
    model.SelectItems(2, 2, true, false, false, false);  // focus on item 0 at row 2
    model.SelectItems(0, 0, true, true, false, false);   // item 1, focus row 0
    model.SelectItems(2, 2, false, true, false, false);  // focus back to row 2
    ReportItemInfo info;
    info.mask = RIF_TEXT;
    info.item = 1;
    info.text = const_cast<char*>("new");
    ASSERT_EQ(model.InsertItem(info), 1);
    EXPECT_EQ(model.GetRowFromItem(1), 1);  // a new item shows at its index
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "new", "b", "c"}));
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{0, 2}));
    EXPECT_EQ(model.GetFocusRow(), 3);
    EXPECT_EQ(model.GetItemText(model.GetItemFromRow(3), 0), "c");

    info.item = 99;  // past the end appends
    EXPECT_EQ(model.InsertItem(info), 4);
    info.item = -1;
    EXPECT_EQ(model.InsertItem(info), -2);
}

TEST_F(Model, DeleteRenumbersAndReportsEachItem) {
    DefineColumns(1);
    AddRows({"a", "b", "c", "d"});
    model.SelectItems(3, 3, true, false, false, false);
    model.SelectItems(1, 1, true, true, false, false);
    EXPECT_EQ(model.DeleteItem(-1), 0);
    EXPECT_EQ(model.DeleteItem(4), 0);
    ASSERT_EQ(model.DeleteItem(1), 1);
    EXPECT_EQ(SelectionOrder(), (std::vector<int>{2}));
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(model.GetFocusRow(), 0);  // the row above takes the focus
    const auto deleted = parent.Codes(RCN_ITEMDELETED);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].item, 1);
    EXPECT_EQ(deleted[0].param, 101);
}

TEST_F(Model, AParentThatDeletesWhileBeingTold) {
    DefineColumns(1);
    AddRows({"a", "b", "c", "d", "e"});
    parent.answer = [this](const ReportNotify& n) {
        if (n.header.code == RCN_ITEMDELETED && n.param == 103) model.DeleteItem(0);
        return 0;
    };
    ASSERT_EQ(model.DeleteItem(3), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"b", "c", "e"}));
    std::vector<int> params;
    for (const auto& s : parent.Codes(RCN_ITEMDELETED))
        params.push_back(s.param);
    EXPECT_EQ(params, (std::vector<int>{103, 100}));
}

TEST_F(Model, FocusAfterDeletingRows) {
    const struct {
        int rows, focus, deleted, focusAfter;
        uint32_t style;
    } cases[] = {
        {3, 2, 2, 1, 0},                // the focused last row: the new last row
        {3, 2, 0, 1, 0},                // a row above: the focus stays on its item
        {3, 0, 0, 0, 0},                // the first row: the next one, not the hidden pseudo row
        {3, 0, 0, -1, RCS_NEWITEMROW},  // unless the pseudo row is shown
        {1, 0, 0, -2, 0},               // the only row
    };
    for (const auto& c : cases) {
        ReportModel m;
        MemoryHeader h;
        m.SetHeader(&h);
        m.SetConsistencyCheck(FailTest);
        m.ModifyReportStyle(0, c.style);
        m.DefineSubItem(0, SubItemDef{});
        for (int i = 0; i < c.rows; ++i) {
            ReportItemInfo info;
            info.item = i;
            m.InsertItem(info);
        }
        m.SelectItems(c.focus, c.focus, true, false, false, false);
        m.DeleteItem(c.deleted);
        EXPECT_EQ(m.GetFocusRow(), c.focusAfter) << c.rows << " " << c.focus << " " << c.deleted;
        if (c.focusAfter >= 0) {
            ReportItemInfo info;
            info.item = m.GetItemFromRow(c.focusAfter);
            m.GetItem(info);
            EXPECT_TRUE(info.state & RIS_FOCUSED);
        }
    }
}

TEST_F(Model, DeleteAllReportsEveryItemInIndexOrder) {
    DefineColumns(1);
    AddRows({"b", "a", "c"});
    model.SortItems(0, true);
    model.SelectItems(1, 2, true, false, false, false);
    ASSERT_EQ(model.DeleteAllItems(), 1);
    std::vector<int> items;
    for (const auto& s : parent.Codes(RCN_ITEMDELETED))
        items.push_back(s.item);
    EXPECT_EQ(items, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(model.GetItemCount(), 0);
    EXPECT_EQ(model.GetFocusRow(), -2);
    EXPECT_EQ(model.GetFirstSelectedItem(), -2);
}

TEST_F(Model, RowStringUsesTextsThenImagesThenChecks) {
    DefineColumns(4);
    AddRows({"Name\tTab"});
    model.SetItemImage(0, 1, 2);
    ReportItemInfo info;
    info.mask = RIF_CHECK;
    info.subItem = 2;
    info.check = 1;
    model.SetItem(info);
    EXPECT_EQ(model.GetItemRowString(0, '\t'), "Name Tab\t2\t1\t\n");
    EXPECT_EQ(model.GetItemRowString(3, '\t'), "");
}

TEST_F(Model, VirtualAndFixedTreeModesRefuseRowChanges) {
    DefineColumns(1);
    for (const uint32_t style : {RCS_VIRTUAL, RCS_TREEFIXED}) {
        model.ModifyReportStyle(0xFFFF, style);
        ReportItemInfo info;
        EXPECT_EQ(model.InsertItem(info), -2);
        EXPECT_EQ(model.DeleteItem(0), -2);
    }
    model.ModifyReportStyle(0xFFFF, RCS_VIRTUAL);
    EXPECT_EQ(model.SetItemText(0, 0, "x"), 0);
    EXPECT_EQ(model.DeleteAllItems(), 0);
    EXPECT_EQ(model.SortItems(0, true), 0);
}

TEST(ColorTable, InsertPadsWithBlackAndBuildsThePalette) {
    ColorTable table;
    EXPECT_FALSE(table.GetPalette().exists);
    EXPECT_EQ(table.Insert(3, 0xEEFFFF), 3);
    EXPECT_EQ(table.Size(), 4);
    EXPECT_EQ(table.At(0, 7), 0u);
    EXPECT_EQ(table.At(3, 7), 0xEEFFFFu);
    EXPECT_EQ(table.At(4, 7), 7u);
    EXPECT_EQ(table.Insert(0, 0x123456), 0);
    EXPECT_EQ(table.GetPalette().entries, (std::vector<uint32_t>{0x123456, 0, 0, 0, 0xEEFFFF}));
    EXPECT_EQ(table.Insert(-1, 1), -1);
    EXPECT_TRUE(table.SetBitmapColors(std::vector<uint32_t>(252, 9)));
    EXPECT_TRUE(table.GetPalette().halftone);  // 257 colours in all
}

}  // namespace
}  // namespace pagelark
