// Where rows, cells and their parts lie, and how the list scrolls, without a window.

#include <gtest/gtest.h>

#include "report/widgets/ReportLayout.h"
#include "tests/report/model/ReportFixture.h"

namespace pagelark {
namespace {

constexpr int kRow = 19;

class ReportLayoutTest : public ReportFixture {
  protected:
    // 20 rows, columns 0 (30 px: image and check) and 1 (100 px: text).
    void SetUp() override {
        ReportFixture::SetUp();
        SubItemDef state;
        state.width = 40;
        model.DefineSubItem(0, state);
        model.ActivateSubItem(0, 0);
        SubItemDef name;
        name.width = 100;
        model.DefineSubItem(1, name);
        model.ActivateSubItem(1, 1);
        for (int n = 0; n < 20; ++n) {
            ReportItemInfo info;
            info.mask = RIF_IMAGE;
            info.item = n;
            info.image = 1;
            model.InsertItem(info);
            model.SetItemText(n, 1, "row " + std::to_string(n));
        }
        layout.SetRowHeight(kRow);
        layout.SetImageSize(QSize(16, 16));
        // 5 rows of 19 leave 5 pixels: five fit, the sixth shows cut.
        layout.Place(QRect(0, 0, 120, 20 + 100), 20);
    }
    void SetPreview(int item, int height) {
        ReportItemInfo info;
        info.mask = RIF_PREVIEW;
        info.item = item;
        info.previewHeight = height;
        model.SetItem(info);
    }
    HitTestInfo Hit(int x, int y) {
        HitTestInfo info;
        info.point = {x, y};
        layout.HitTest(info);
        return info;
    }

    ReportLayout layout{model};
};

TEST_F(ReportLayoutTest, RowsFitWhileHeightIsLeftBelowThem) {
    EXPECT_EQ(layout.RowsRect(), QRect(0, 20, 120, 100));
    EXPECT_EQ(layout.FittingRows(), 5);
    EXPECT_EQ(layout.MaxTopRow(), 15);
    SetPreview(2, 30);  // rows 0..2 now take 87 pixels, row 3 no longer fits
    EXPECT_EQ(layout.FittingRows(), 3);
    EXPECT_EQ(layout.RowTop(3), 20 + 3 * kRow + 30);
    // A page up from row 4 ends the new page just above it: rows 2..4 still
    // fit with row 2's band, so the top goes one above them.
    layout.SetTopRow(4);
    layout.ScrollVertically(ScrollCommand::PageBack);
    EXPECT_EQ(layout.TopRow(), 1);
}

TEST_F(ReportLayoutTest, EveryScrollCommand) {
    const struct {
        int from;
        ScrollCommand command;
        int track;
        int top;
    } cases[] = {
        {0, ScrollCommand::LineForward, 0, 1}, {15, ScrollCommand::LineForward, 0, 15},
        {3, ScrollCommand::LineBack, 0, 2},    {0, ScrollCommand::LineBack, 0, 0},
        {0, ScrollCommand::PageForward, 0, 5}, {13, ScrollCommand::PageForward, 0, 15},
        {10, ScrollCommand::PageBack, 0, 5},   {3, ScrollCommand::PageBack, 0, 0},
        {7, ScrollCommand::Start, 0, 0},       {2, ScrollCommand::End, 0, 15},
        {0, ScrollCommand::Thumb, 18, 15},     {0, ScrollCommand::Thumb, 9, 9},
    };
    for (const auto& c : cases) {
        layout.SetTopRow(c.from);
        layout.ScrollVertically(c.command, c.track);
        EXPECT_EQ(layout.TopRow(), c.top)
            << "from " << c.from << " command " << static_cast<int>(c.command);
    }
    // Horizontally by pixels: the 140-pixel columns in a 120-pixel view scroll by 20.
    EXPECT_EQ(layout.MaxHorizontalPosition(), 20);
    layout.ScrollHorizontally(ScrollCommand::LineForward);
    EXPECT_EQ(layout.HorizontalPosition(), 15);
    layout.ScrollHorizontally(ScrollCommand::End);
    EXPECT_EQ(layout.HorizontalPosition(), 20);
    layout.ScrollHorizontally(ScrollCommand::PageBack);
    EXPECT_EQ(layout.HorizontalPosition(), 0);
}

TEST_F(ReportLayoutTest, EnsureVisibleMakesARowTheTopOrTheLastFittingRow) {
    layout.EnsureRowVisible(12);
    EXPECT_EQ(layout.TopRow(), 8);
    layout.EnsureRowVisible(10);
    EXPECT_EQ(layout.TopRow(), 8);
    layout.EnsureRowVisible(3);
    EXPECT_EQ(layout.TopRow(), 3);
}

TEST_F(ReportLayoutTest, HitTestFlags) {
    SetPreview(1, 20);
    model.SetItemText(2, 0, "x");
    ReportItemInfo check;
    check.mask = RIF_CHECK;
    check.item = 2;
    check.check = 1;
    model.SetItem(check);
    const int row2 = 20 + 2 * kRow + 20 + 5;
    const struct {
        QPoint at;
        uint32_t flags;
        int item;
        int subItem;
    } cases[] = {
        {{10, 25}, RHT_ONIMAGE, 0, 0},
        {{27, 25}, RHT_ONIMAGE, 0, 0},  // the margin after the image
        {{30, 25}, RHT_ONTEXT, 0, 0},   // no check and no room kept for one
        {{36, 25}, RHT_NOWHERE, 0, 0},  // the cell's last margin
        {{60, 25}, RHT_ONTEXT, 0, 1},
        {{60, 20 + 2 * kRow + 3}, RHT_ONPREVIEW, 1, -1},
        {{30, row2}, RHT_ONCHECK, 2, 0},
        {{125, 25}, RHT_TORIGHT, -2, -1},
        {{60, 10}, RHT_ABOVE, -2, -1},
        {{125, 10}, RHT_ABOVE | RHT_TORIGHT, -2, -1},
        {{-1, 130}, RHT_BELOW | RHT_TOLEFT, -2, -1},
    };
    for (const auto& c : cases) {
        const HitTestInfo info = Hit(c.at.x(), c.at.y());
        EXPECT_EQ(info.flags, c.flags) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(info.item, c.item) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(info.subItem, c.subItem) << c.at.x() << "," << c.at.y();
    }
    // Scrolled right by 20, column 1 spans 20..119 and its last margin 114..119.
    layout.SetHorizontalPosition(20);
    EXPECT_EQ(Hit(116, 25).flags, RHT_NOWHERE);
    EXPECT_EQ(Hit(113, 25).flags, RHT_ONTEXT);
}

TEST_F(ReportLayoutTest, ItemRectPartsAndWhenTheyAreAbsent) {
    QRect rect;
    ASSERT_EQ(layout.GetItemRect(0, 0, rect, CellPart::Image), 1);
    EXPECT_EQ(rect, QRect(6, 20 + 2, 16, 16));
    ASSERT_EQ(layout.GetItemRect(0, 1, rect, CellPart::Text), 1);
    EXPECT_EQ(rect, QRect(40 + 6, 20, 100 - 12, kRow));
    ASSERT_EQ(layout.GetItemRect(0, 1, rect, CellPart::Cell), 1);
    EXPECT_EQ(rect, QRect(40, 20, 100, kRow));
    EXPECT_EQ(layout.GetItemRect(0, 1, rect, CellPart::Image), 0);  // no image in that cell
    EXPECT_EQ(layout.GetItemRect(0, 0, rect, CellPart::Text), 0);   // no text either
    EXPECT_EQ(layout.GetItemRect(5, 1, rect, CellPart::Text), 0);   // cut at the bottom
    layout.SetTopRow(5);
    EXPECT_EQ(layout.GetItemRect(4, 1, rect, CellPart::Text), 0);  // above the view
    EXPECT_EQ(layout.GetItemRect(5, 1, rect, CellPart::Text), 1);
    // A column narrower than its image less the margins holds no image.
    model.SetSubItemWidth(0, 20);
    EXPECT_EQ(layout.GetItemRect(5, 0, rect, CellPart::Image), 0);
}

}  // namespace
}  // namespace pagelark
