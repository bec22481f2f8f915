#include "controls/FlatHeaderCtrl.h"

#include <QGuiApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "controls/FlatHeaderOwner.h"
#include "controls/HeaderDragWindow.h"
#include "controls/HeaderDropMarker.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

using testing::Render;

HeaderItem Item(const std::string& text, int width, int order) {
    HeaderItem item;
    item.text = text;
    item.width = width;
    item.order = order;
    return item;
}

// --- the state, without a window ---

class FlatHeaderStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.SetTextWidth(
            [](const std::string& text) { return 7 * static_cast<int>(text.size()); });
        state.SetSize(QSize(1000, 20));
        for (const int width : {100, 100, 200})
            state.InsertItem(state.GetItemCount(), Item("Name", width, state.GetItemCount()));
    }
    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (int i = 0; i < state.GetItemCount(); ++i) {
            HeaderItem item;
            state.GetItem(i, item);
            widths.push_back(item.width);
        }
        return widths;
    }

    FlatHeaderState state;
};

TEST_F(FlatHeaderStateTest, AutoFitSpreadsTheParentWidth) {
    const struct {
        int minFirst, maxLast, pinned;
        std::vector<int> expected;
    } cases[] = {
        {0, 0, -1, {250, 250, 500}},
        // The first keeps its minimum; the others give up the excess a pixel at a time.
        {300, 0, -1, {300, 225, 475}},
        // The last stops at its maximum; the others take up the rest.
        {0, 150, -1, {425, 425, 150}},
        // Pinned to the first: only those after it share what is right of it.
        {0, 0, 0, {100, 300, 600}},
    };
    for (const auto& c : cases) {
        HeaderItemExtra first;
        first.minWidth = c.minFirst;
        state.SetItemExtra(0, first);
        HeaderItemExtra last;
        last.maxWidth = c.maxLast;
        state.SetItemExtra(2, last);
        // Widths set after the limits, which would have corrected them.
        for (int i = 0; i < 3; ++i)
            state.SetItemWidth(i, i == 2 ? 200 : 100);
        std::vector<bool> duringFit;
        state.SetChangeListener(
            [&](int, bool, bool) { duringFit.push_back(state.IsAutoFitting()); });
        state.AutoFit(c.pinned, 1000);
        state.SetChangeListener(nullptr);
        EXPECT_EQ(Widths(), c.expected) << c.minFirst << " " << c.maxLast << " " << c.pinned;
        EXPECT_FALSE(duringFit.empty());
        EXPECT_EQ(duringFit, std::vector<bool>(duringFit.size(), true));
        EXPECT_FALSE(state.IsAutoFitting());
    }
}

TEST_F(FlatHeaderStateTest, ExtrasMoveWithTheirItemsAndCorrectTheWidth) {
    state.SetItemWidth(0, 50);
    HeaderItemExtra extra;
    const struct {
        uint32_t flags;
        int minWidth, maxWidth, expected;
    } cases[] = {
        {HeaderItemExtra::FitToContent, 0, 0, 6 + 28 + 6},
        {HeaderItemExtra::FitToContent | HeaderItemExtra::ContentWithArrow, 0, 0, 6 + 14 + 34},
        {0, 80, 0, 80},
        {0, 0, 30, 30},
        {HeaderItemExtra::FixedWidth, 80, 0, 30},  // the limits do not move a fixed width
    };
    for (const auto& c : cases) {
        extra.flags = c.flags;
        extra.minWidth = c.minWidth;
        extra.maxWidth = c.maxWidth;
        ASSERT_TRUE(state.SetItemExtra(0, extra));
        EXPECT_EQ(Widths()[0], c.expected) << c.flags;
    }
    HeaderItemExtra read;
    ASSERT_TRUE(state.GetItemExtra(0, read));
    EXPECT_EQ(read.minWidth, 30);
    EXPECT_EQ(read.maxWidth, 30);

    extra = {};
    extra.tipText = "second";
    state.SetItemExtra(1, extra);
    state.InsertItem(0, Item("new", 10, 0));
    state.GetItemExtra(0, read);
    EXPECT_EQ(read.flags, 0u);
    state.GetItemExtra(2, read);
    EXPECT_EQ(read.tipText, "second");
    state.DeleteItem(0);
    state.GetItemExtra(1, read);
    EXPECT_EQ(read.tipText, "second");
    EXPECT_FALSE(state.GetItemExtra(3, read));
    EXPECT_FALSE(state.SetItemExtra(3, extra));
}

// --- the widget ---

class FlatHeaderTest : public ::testing::Test, public FlatHeaderOwner {
  protected:
    void SetUp() override {
        window.resize(400, 100);
        window.move(0, 0);
        header = new CFlatHeaderCtrl(&window);
        header->setGeometry(0, 40, 320, 20);
        for (int i = 0; i < 3; ++i)
            header->InsertItem(i, Item("Column " + std::to_string(i), 100, i));
        header->SetOwner(this);
        window.show();
    }
    void TearDown() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    bool OnHeaderBeginDrag(int, const HeaderItem&) override { return vetoBegin; }
    bool OnHeaderEndDrag(int item, const HeaderItem&) override {
        endDrags.push_back(item);
        return vetoEnd;
    }
    void OnHeaderItemChanged(int item, bool, bool width) override {
        if (width) widthChanges.push_back(item);
    }
    void OnHeaderItemClick(int) override {}
    void OnHeaderDividerDblClick(int item) override { dividerDblClicks.push_back(item); }
    bool OnHeaderRightClick(int) override { return false; }

    void Send(QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(header->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    }
    void Press(const QPoint& at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void Move(const QPoint& at) { Send(QEvent::MouseMove, at, Qt::LeftButton); }
    void Hover(const QPoint& at) { Send(QEvent::MouseMove, at, Qt::NoButton); }
    void Release(const QPoint& at) { Send(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    // Presses at from, leaves the drag rectangle downwards and moves to to.
    void DragTo(const QPoint& from, const QPoint& to) {
        Press(from);
        Move(from + QPoint(0, 40));
        Move(to);
    }
    int Width(int index) const {
        HeaderItem item;
        header->GetItem(index, item);
        return item.width;
    }

    QWidget window;
    CFlatHeaderCtrl* header = nullptr;
    bool vetoBegin = false;
    bool vetoEnd = false;
    std::vector<int> endDrags;
    std::vector<int> widthChanges;
    std::vector<int> dividerDblClicks;
};

TEST_F(FlatHeaderTest, SetPropertyKnowsIdsOneToSeven) {
    for (int id = 1; id <= 7; ++id)
        EXPECT_TRUE(header->SetProperty(id, 0)) << id;
    EXPECT_TRUE(header->SetProperty(FlatHeaderState::PropSpacing, 4));
    EXPECT_TRUE(header->SetProperty(FlatHeaderState::PropArrowSize, (10 << 16) | 12));
    EXPECT_FALSE(header->SetProperty(8, 9));
    EXPECT_FALSE(header->SetProperty(0, 9));
    EXPECT_EQ(header->State().Metrics().spacing, 4);
    EXPECT_EQ(header->State().Metrics().arrow, QSize(12, 10));
}

TEST_F(FlatHeaderTest, LayoutTakesTheTopAndFitsTheWidthsToTheParent) {
    header->SetProperty(FlatHeaderState::PropExtendRight, 1);
    header->SetHeightOverride(30);
    header->SetProperty(FlatHeaderState::PropAutoFit, 1);
    EXPECT_EQ(Width(0) + Width(1) + Width(2), 400);  // at once
    window.resize(700, 100);
    EXPECT_EQ(header->Layout(QRect(0, 0, 700, 100)), QRect(0, 30, 700, 70));
    EXPECT_EQ(header->geometry(), QRect(0, 0, 702, 30));
    EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}), (std::vector<int>{235, 233, 232}));
}

TEST_F(FlatHeaderTest, DropsReorderOnlyWhereTheItemWouldMove) {
    const struct {
        QPoint from, to;
        bool marker;
        std::vector<int> order;
    } cases[] = {
        {{150, 10}, {140, 10}, false, {0, 1, 2}},  // onto its own position
        {{150, 10}, {210, 10}, false, {0, 1, 2}},  // just right of itself
        {{250, 10}, {20, 10}, true, {2, 0, 1}},    // the first column's left half
        {{50, 10}, {180, 10}, true, {1, 0, 2}},    // moving right, before the third
        {{50, 10}, {280, 10}, true, {1, 2, 0}},    // the last column's right half
    };
    for (const auto& c : cases) {
        header->SetOrderArray({0, 1, 2});
        DragTo(c.from, c.to);
        ASSERT_NE(header->DragWindow(), nullptr);
        EXPECT_EQ(header->DropMarker() != nullptr, c.marker) << c.to.x();
        EXPECT_EQ(header->GetDropState(), 0);
        Release(c.to);
        EXPECT_EQ(header->GetOrderArray(), c.order) << c.to.x();
        EXPECT_EQ(header->DragWindow(), nullptr);
        EXPECT_EQ(header->DropMarker(), nullptr);
    }
    EXPECT_EQ(endDrags, (std::vector<int>{1, 1, 2, 0, 0}));

    vetoEnd = true;
    DragTo({250, 10}, {20, 10});
    Release({20, 10});
    EXPECT_EQ(header->GetOrderArray(), (std::vector<int>{1, 2, 0}));
    vetoEnd = false;
    vetoBegin = true;
    DragTo({250, 10}, {20, 10});
    EXPECT_EQ(header->DragWindow(), nullptr);
    Release({20, 10});
    EXPECT_EQ(header->GetOrderArray(), (std::vector<int>{1, 2, 0}));
}

TEST_F(FlatHeaderTest, DropStateSaysWhereADragLeftTheItems) {
    QWidget targetWindow;
    targetWindow.setGeometry(600, 300, 200, 200);
    QWidget target(&targetWindow);
    targetWindow.show();
    header->SetProperty(FlatHeaderState::PropDropTarget, reinterpret_cast<std::intptr_t>(&target));
    HeaderItemExtra keep;
    keep.flags = HeaderItemExtra::KeepOnDrag;
    header->SetItemExtra(1, keep);
    const QPoint intoTarget = header->mapFromGlobal(QPoint(700, 400));
    const struct {
        QPoint from, to;
        int state;
        Qt::CursorShape cursor;
    } cases[] = {
        {{150, 10}, {150, -40}, 2, Qt::ForbiddenCursor},  // KeepOnDrag, off the header
        {{150, 10}, intoTarget, 2, Qt::ForbiddenCursor},  // KeepOnDrag, even over the target
        {{50, 10}, {50, -40}, -1, Qt::ForbiddenCursor},   // elsewhere: the drop cursor
        {{50, 10}, intoTarget, 1, Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        DragTo(c.from, c.to);
        EXPECT_EQ(header->GetDropState(), c.state) << c.from.x() << " " << c.to.y();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), c.cursor);
        EXPECT_EQ(header->DropMarker(), nullptr);
        Release(c.to);
        EXPECT_EQ(header->GetDropState(), c.state);
        EXPECT_EQ(header->GetOrderArray(), (std::vector<int>{0, 1, 2}));
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FlatHeaderTest, FixedWidthResistsResizing) {
    HeaderItemExtra fixed;
    fixed.flags = HeaderItemExtra::FixedWidth;
    header->SetItemExtra(0, fixed);
    HeaderItemExtra limited;
    limited.minWidth = 40;
    limited.maxWidth = 130;
    header->SetItemExtra(1, limited);

    Hover({99, 10});
    EXPECT_EQ(header->cursor().shape(), Qt::ArrowCursor);
    Hover({199, 10});
    EXPECT_EQ(header->cursor().shape(), Qt::SplitHCursor);

    Press({99, 10});
    Move({160, 10});
    Release({160, 10});
    EXPECT_EQ(Width(0), 100);
    EXPECT_TRUE(widthChanges.empty());

    Press({199, 10});
    Move({260, 10});
    EXPECT_EQ(Width(1), 130);
    Move({120, 10});
    EXPECT_EQ(Width(1), 40);
    Release({120, 10});
    EXPECT_EQ(widthChanges, (std::vector<int>{1, 1}));

    for (const QPoint at : {QPoint(99, 10), QPoint(139, 10)}) {
        Send(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        Release(at);
    }
    EXPECT_EQ(dividerDblClicks, (std::vector<int>{1}));
}

TEST_F(FlatHeaderTest, SortArrowPointsTheSortDirection) {
    QPalette colours = header->palette();
    colours.setColor(QPalette::Light, QColor(0, 255, 0));
    colours.setColor(QPalette::Dark, QColor(0, 0, 255));
    header->setPalette(colours);
    HeaderItem item;
    header->GetItem(1, item);
    const QRect span = header->State().ItemRect(1).adjusted(6, 0, -6, 0);
    const HeaderItemLayout layout = header->State().LayoutItem(item, span, true);
    ASSERT_TRUE(layout.drawArrow);
    const auto count = [](const QImage& image, int y, int x0, QRgb colour) {
        int found = 0;
        for (int x = x0; x < x0 + 8; ++x)
            found += image.pixel(x, y) == colour ? 1 : 0;
        return found;
    };
    const struct {
        bool ascending;
        int darkOnTop, lightAtBottom;
    } cases[] = {{true, 1, 7}, {false, 8, 1}};
    for (const auto& c : cases) {
        header->SetSortColumn(1, c.ascending);
        const QImage image = Render(*header);
        const QPoint at = layout.arrowOrigin;
        EXPECT_EQ(count(image, at.y(), at.x(), qRgb(0, 0, 255)), c.darkOnTop) << c.ascending;
        EXPECT_EQ(count(image, at.y() + 7, at.x(), qRgb(0, 255, 0)), c.lightAtBottom);
    }
}

TEST_F(FlatHeaderTest, TooltipsCoverEachItemWithItsText) {
    HeaderItemExtra tipped;
    tipped.tipText = "Sort by: Column 1";
    header->SetItemExtra(1, tipped);
    EXPECT_EQ(header->ToolAt({150, 10}).id, 0u);
    header->SetProperty(FlatHeaderState::PropTooltips, 1);
    const CFlatHeaderCtrl::Tool tool = header->ToolAt({150, 10});
    EXPECT_EQ(tool.id, CFlatHeaderCtrl::TipToolId);
    EXPECT_EQ(tool.rect, QRect(100, 0, 100, 20));
    EXPECT_EQ(tool.text, "Sort by: Column 1");
    EXPECT_TRUE(header->ToolAt({50, 10}).text.empty());
    EXPECT_EQ(header->ToolAt({350, 10}).id, 0u);
}

TEST(HeaderDropMarkerTest, TwoRedArrowsFacingTheDivider) {
    HeaderDropMarker marker(nullptr, 40, QColor(255, 0, 0));
    const QRegion shape = HeaderDropMarker::Shape(40);
    for (const QPoint inside : {QPoint(6, 2), QPoint(6, 6), QPoint(6, 33), QPoint(6, 38)})
        EXPECT_TRUE(shape.contains(inside)) << inside.y();
    for (const QPoint outside : {QPoint(1, 1), QPoint(6, 20), QPoint(11, 38)})
        EXPECT_FALSE(shape.contains(outside)) << outside.y();
    EXPECT_EQ(Render(marker).pixel(6, 2), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace pagelark
