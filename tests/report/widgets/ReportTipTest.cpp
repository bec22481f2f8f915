#include "report/widgets/ReportTipWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "report/widgets/ReportTipOwner.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

const QRect kCellA(100, 0, 50, 18);
const QRect kCellB(100, 18, 50, 18);
const QSize kWide(80, 15);
const QSize kNarrow(30, 15);

// --- the state, without a window ---

TEST(ReportTipStateTest, ShowsClippedTextsButNeverTwiceInARowForOneCell) {
    ReportTipState state(false, 400);
    const struct {
        QRect rect;
        QSize text;
        bool focus, shown;
    } steps[] = {
        {kCellA, kWide, true, true},     //
        {kCellA, kWide, true, false},    // the same cell again
        {kCellB, kWide, true, true},     // another clipped cell replaces it
        {kCellA, kWide, true, true},     // and then the first shows again
        {kCellB, kNarrow, true, false},  // a text that fits shows nothing,
        {kCellB, kWide, true, false},    // yet its cell is remembered
        {kCellA, kWide, false, false},   // no window of ours has the focus
        {QRect(), kWide, true, false},   //
        {kCellA, kWide, true, true},     //
    };
    int step = 0;
    for (const auto& s : steps)
        EXPECT_EQ(state.Show(s.rect, s.text, s.focus).shown, s.shown) << step++;

    // Over the cell, widened to the text, the text where the cell's text is.
    EXPECT_EQ(state.LastRect(), kCellA);
    ASSERT_TRUE(state.Show(kCellB, kWide, true).shown);
    EXPECT_EQ(state.Show(kCellA, kWide, true).window, QRect(94, 0, 92, 19));
    EXPECT_TRUE(state.InHitArea({62, 5}));
    EXPECT_FALSE(state.InHitArea({63, 5}));  // past the cell and its margin
}

TEST(ReportTipStateTest, FadesInFromZeroUnlessShownWithinTheGraceAfterAHide) {
    ReportTipState state(true, 400);
    std::vector<int> timers;
    state.SetTimerControl([&](int interval) { timers.push_back(interval); });
    ASSERT_TRUE(state.Show(kCellA, kWide, true).applyOpacity);
    EXPECT_EQ(state.Opacity(), 0);
    state.Tick();
    state.Tick();
    EXPECT_EQ(state.Opacity(), 20);

    // Hidden half way and shown again within the grace: at once, no fade.
    state.Hide();
    EXPECT_EQ(state.TimerInterval(), ReportTipState::kHideGrace);
    ASSERT_TRUE(state.Show(kCellB, kWide, true).applyOpacity);
    EXPECT_EQ(state.Opacity(), 255);
    EXPECT_EQ(state.TimerInterval(), ReportTipState::kHideGrace);
    EXPECT_FALSE(state.Tick());  // the grace ends without touching the shown tip
    EXPECT_EQ(state.Opacity(), 0);
    EXPECT_EQ(state.TimerInterval(), 0);

    // Later, the next tip fades in from nothing, one step every 20 milliseconds.
    timers.clear();
    ASSERT_TRUE(state.Show(kCellA, kWide, true).applyOpacity);
    std::vector<int> steps;
    while (state.TimerInterval() == ReportTipState::kFadeInterval && steps.size() < 100) {
        EXPECT_TRUE(state.Tick());
        steps.push_back(state.Opacity());
    }
    std::vector<int> expected;
    for (int opacity = 10; opacity <= 250; opacity += 10)
        expected.push_back(opacity);
    expected.push_back(255);
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(timers, (std::vector<int>{20, 0}));

    ReportTipState flat(false, 400);
    EXPECT_FALSE(flat.Show(kCellA, kWide, true).applyOpacity);
    flat.Hide();
    EXPECT_EQ(flat.TimerInterval(), 0);
}

// --- the window ---

class TipOwner : public QWidget, public ReportTipOwner {
  public:
    TipOwner() {
        setFocusPolicy(Qt::StrongFocus);
        setGeometry(50, 50, 300, 100);
    }
    QWidget* TipOwnerWidget() override { return this; }

    std::vector<int> keys;
    std::vector<std::pair<QEvent::Type, QPoint>> clicks;

  protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
    void mousePressEvent(QMouseEvent* event) override {
        clicks.emplace_back(event->type(), event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
};

class ReportTipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testing::ShowActive(owner));
        owner.setFocus();
    }
    const QString kText = QStringLiteral("A result far too long for its narrow cell");
    TipOwner owner;
    ReportTipWindow tip{owner, false};
};

TEST_F(ReportTipTest, AKeyHidesTheTipAndStillReachesTheOwner) {
    ASSERT_EQ(tip.Show(kCellA, kText), 1);
    ASSERT_TRUE(tip.isVisible());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&owner, &down);
    EXPECT_FALSE(tip.isVisible());

    ASSERT_EQ(tip.Show(kCellB, kText), 1);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&tip, &letter);
    EXPECT_FALSE(tip.isVisible());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(owner.keys, (std::vector<int>{Qt::Key_Down, Qt::Key_A}));
}

TEST_F(ReportTipTest, ClicksPassThroughAndTwoMakeADoubleClick) {
    const auto press = [&](ulong time) {
        const QPoint at(10, 5);
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), QPointF(tip.mapToGlobal(at)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(&tip, &event);
        QCoreApplication::sendPostedEvents();
    };
    ASSERT_EQ(tip.Show(kCellA, kText), 1);
    press(1000);
    EXPECT_FALSE(tip.isVisible());
    ASSERT_EQ(tip.Show(kCellB, kText), 1);
    press(1100);
    // The tip starts a margin left of the cell, so its point 10 is the cell's 4.
    const QPoint inB = kCellB.topLeft() + QPoint(4, 5);
    ASSERT_EQ(owner.clicks.size(), 2u);
    EXPECT_EQ(owner.clicks[0].first, QEvent::MouseButtonPress);
    EXPECT_EQ(owner.clicks[1], std::make_pair(QEvent::MouseButtonDblClick, inB));
}

}  // namespace
}  // namespace pagelark
