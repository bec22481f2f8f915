// The report list as the user sees and drives it: pixels where colours are
// fixed, the wheel, keys, clicks, editing, dragging captions off, threads.

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/window/MainListLook.h"
#include "controls/FlatHeaderCtrl.h"
#include "controls/platform/ImageList.h"
#include "controls/platform/Resources.h"
#include "report/widgets/ReportCtrl.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

class Parent : public ReportParent {
  public:
    int OnReportNotify(NotifyHeader& header) override {
        codes.push_back(header.code);
        if (header.code == RCN_CLICK) clickFlags = RecordOf<ReportNotify>(header).hitFlags;
        return 0;
    }
    std::vector<int> codes;
    uint32_t clickFlags = 0;
};

// The list as the main window sets it up: four columns, the state images,
// pale yellow alternate rows, grid and cell tips; the tiled picture only where
// a test sets it.
class ReportCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QFont font;
        font.setPixelSize(12);
        window.setFont(font);
        window.resize(420, 300);
        list = new CReportCtrl(&window, 1011);
        list->setGeometry(window.rect());
        list->SetReportParent(&parent);
        SetUpMainList(*list, images, 150);
        // Narrowed to the test's window, on a plain ground so pixels can be counted.
        list->SetSubItemWidth(1, 120);
        list->SetBkImage(QPixmap());
        window.show();
        QApplication::processEvents();
    }
    void AddRows(int count) {
        for (int n = 0; n < count; ++n) {
            ReportItemInfo info;
            info.mask = RIF_IMAGE | RIF_PARAM;
            info.item = list->GetItemCount();
            info.image = 1;
            info.param = info.item + 1;
            list->InsertItem(info);
            list->SetItemText(info.item, 1, "Item " + std::to_string(info.item + 1));
        }
    }
    QImage Shot() {
        return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    int RowTop(int row) const { return list->Geometry().RowTop(row); }
    void Click(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, at);
    }
    std::vector<int> Selected() {
        std::vector<int> items;
        for (int item = list->GetFirstSelectedItem(); item != -2;
             item = list->GetNextSelectedItem(item))
            items.push_back(item);
        return items;
    }

    // The parent and the images outlive the window: the list tells the parent
    // of every row as it goes.
    Parent parent;
    ImageList images;
    QWidget window;
    CReportCtrl* list = nullptr;
};

TEST_F(ReportCtrlTest, OddRowsArePaleYellowAndEvenRowsShowTheTiledPicture) {
    ASSERT_EQ(list->SetBkImage(134), 1);
    AddRows(8);
    list->SetSubItemWidth(2, 300);  // wider than the view, so it scrolls sideways
    list->ScrollHorizontally(ScrollCommand::Thumb, 7);
    const QImage shot = Shot();
    const QImage tile = LoadBitmap(134).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(tile.isNull());
    const int hpos = list->Geometry().HorizontalPosition();
    ASSERT_EQ(hpos, 7);
    // Across the empty Result cells, inside the row's top part.
    const int resultLeft = 30 + 120;
    for (int row = 0; row < 6; ++row) {
        int wrong = 0;
        for (int y = RowTop(row); y < RowTop(row) + list->Geometry().RowHeight() - 1; ++y)
            for (int x = resultLeft - hpos; x < resultLeft + 250 - hpos; ++x) {
                const QRgb expected =
                    row % 2 == 1 ? qRgb(255, 255, 238)
                                 : tile.pixel((x + hpos) % tile.width(), y % tile.height());
                if (shot.pixel(x, y) != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "row " << row;
    }
}

TEST_F(ReportCtrlTest, EmptyViewTextTwoPixelsBelowTheHeaderCentredOverTheColumns) {
    const int top = list->Geometry().RowsRect().top();
    const QImage shot = Shot().copy(list->Geometry().RowsRect());
    const QRgb base = list->GetColors().window.rgb();
    const QRect ink = testing::PixelBounds(shot, [&](QRgb p) { return p != base; });
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.top(), 2);
    EXPECT_LT(ink.bottom(), 2 + list->Geometry().RowHeight());
    EXPECT_GT(top, 0);
    // The columns (380 pixels) are narrower than the view: centred over them.
    EXPECT_NEAR(ink.center().x(), 380 / 2, 2);
}

TEST_F(ReportCtrlTest, ACellTooNarrowForItsImageDrawsNothing) {
    AddRows(1);
    ReportItemInfo info;
    info.mask = RIF_CHECK | RIF_TEXT;
    info.item = 0;
    info.subItem = 2;
    info.check = 1;
    info.text = const_cast<char*>("text");
    list->SetItem(info);
    list->SetItemImage(0, 2, 2);
    const QRgb base = list->GetColors().window.rgb();
    const auto inked = [&] {
        const QRect cell(150, RowTop(0), list->GetSubItemWidth(2) - 1,
                         list->Geometry().RowHeight() - 1);
        const QImage shot = Shot().copy(cell);
        return !testing::PixelBounds(shot, [&](QRgb p) { return p != base; }).isEmpty();
    };
    EXPECT_TRUE(inked());
    list->SetSubItemWidth(2, 12);  // the margins take it all
    EXPECT_FALSE(inked());
}

TEST_F(ReportCtrlTest, AWheelNotchScrollsThreeRowsOrAPage) {
    AddRows(60);
    const auto wheel = [&](int rotation) {
        QWheelEvent event(QPointF(50, 50), QPointF(list->mapToGlobal(QPoint(50, 50))), QPoint(),
                          QPoint(0, rotation), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(list->viewport(), &event);
    };
    list->SetWheelSetting(3);
    wheel(-120);
    EXPECT_EQ(list->Geometry().TopRow(), 3);
    wheel(-20);
    wheel(-20);  // two halves of a line make one, none is lost
    EXPECT_EQ(list->Geometry().TopRow(), 4);
    wheel(120);
    EXPECT_EQ(list->Geometry().TopRow(), 1);
    list->SetWheelSetting(-1);
    const int page = list->Geometry().FittingRows();
    wheel(-120);
    EXPECT_EQ(list->Geometry().TopRow(), 1 + page);
}

TEST_F(ReportCtrlTest, ShiftDownExtendsTheSelectionOneRowPerPress) {
    AddRows(10);
    Click(QPoint(60, RowTop(2) + 4));
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    for (int press = 1; press <= 3; ++press) {
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(static_cast<int>(Selected().size()), press + 1);
    }
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4, 5}));
    QTest::keyClick(list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4}));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(Selected(), (std::vector<int>{5}));
}

TEST_F(ReportCtrlTest, PageKeysHomeEndAndSpaceMoveAndSelect) {
    AddRows(60);
    const int page = list->Geometry().FittingRows();
    ASSERT_LT(2 * page, 60);
    const auto sorted = [&] {
        std::vector<int> items = Selected();
        std::sort(items.begin(), items.end());
        return items;
    };
    const auto key = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(list, key, modifiers);
        return std::tuple(sorted(), list->Model().GetFocusRow(), list->Geometry().TopRow());
    };
    using Seen = std::tuple<std::vector<int>, int, int>;  // selected, focus row, top row
    std::vector<int> range;
    for (int item = page; item < 60; ++item)
        range.push_back(item);
    Click(QPoint(60, RowTop(2) + 4));
    EXPECT_EQ(key(Qt::Key_PageDown), Seen({page - 1}, page - 1, 0)) << "the last whole row";
    EXPECT_EQ(key(Qt::Key_PageDown), Seen({2 * page - 1}, 2 * page - 1, page)) << "a page on";
    EXPECT_EQ(key(Qt::Key_PageUp), Seen({page}, page, page)) << "the top row";
    EXPECT_EQ(key(Qt::Key_End, Qt::ShiftModifier), Seen(range, 59, 60 - page));
    EXPECT_EQ(key(Qt::Key_Home), Seen({0}, 0, 0));
    EXPECT_EQ(key(Qt::Key_End, Qt::ControlModifier), Seen({0}, 59, 60 - page)) << "focus only";
    EXPECT_EQ(key(Qt::Key_Space), Seen({0, 59}, 59, 60 - page));
    EXPECT_EQ(key(Qt::Key_Space, Qt::ControlModifier), Seen({0}, 59, 60 - page));
    EXPECT_EQ(key(Qt::Key_PageUp), Seen({60 - page}, 60 - page, 60 - page));
    EXPECT_EQ(key(Qt::Key_PageUp), Seen({60 - 2 * page}, 60 - 2 * page, 60 - 2 * page));
}

TEST_F(ReportCtrlTest, CtrlAndShiftClicksBuildTheSelectionFromTheAnchor) {
    AddRows(10);
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        Click(QPoint(60, RowTop(row) + 4), modifiers);
        std::vector<int> items = Selected();
        std::sort(items.begin(), items.end());
        return items;
    };
    using V = std::vector<int>;
    EXPECT_EQ(click(2, Qt::NoModifier), V({2}));
    EXPECT_EQ(click(5, Qt::ControlModifier), V({2, 5}));
    EXPECT_EQ(click(7, Qt::ShiftModifier), V({5, 6, 7})) << "from the anchor 5, alone";
    EXPECT_EQ(click(6, Qt::ControlModifier), V({5, 7})) << "toggled off, the new anchor";
    EXPECT_EQ(click(3, Qt::ControlModifier | Qt::ShiftModifier), V({3, 4, 5, 6, 7}));
    EXPECT_EQ(click(4, Qt::ShiftModifier), V({3, 4})) << "the anchor moved to 3";
}

TEST_F(ReportCtrlTest, AClickInAPreviewBandSelectsItsRow) {
    AddRows(4);
    ReportItemInfo info;
    info.mask = RIF_PREVIEW;
    info.item = 1;
    info.previewHeight = 30;
    list->SetItem(info);
    Click(QPoint(200, RowTop(1) + list->Geometry().RowHeight() + 10));
    EXPECT_EQ(parent.clickFlags, RHT_ONPREVIEW);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
}

TEST_F(ReportCtrlTest, ARightClickOnTheHeaderIsTheHeadersOnly) {
    AddRows(2);
    QTest::mousePress(list->GetHeaderCtrl(), Qt::RightButton, Qt::NoModifier, QPoint(100, 8));
    EXPECT_EQ(std::count(parent.codes.begin(), parent.codes.end(), RCN_HEADERRCLICK), 1);
    EXPECT_EQ(std::count(parent.codes.begin(), parent.codes.end(), RCN_RCLICK), 0);
}

// What the user does on the list's own header: a caption dragged onto
// another place, a divider dragged wider. The cells follow.
TEST_F(ReportCtrlTest, CaptionAndDividerDragsInTheHeaderMoveTheCells) {
    ASSERT_TRUE(testing::ShowActive(window));
    AddRows(2);
    CFlatHeaderCtrl* header = list->GetHeaderCtrl();
    const auto drag = [&](const QPoint& from, const QPoint& to) {
        const auto send = [&](QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), QPointF(header->mapToGlobal(at)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(header, &event);
        };
        send(QEvent::MouseMove, from, Qt::NoButton);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            send(QEvent::MouseMove, from + (to - from) * step / 4, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
        QApplication::processEvents();
    };
    const auto cellLeft = [&](int subItem) {
        QRect rect;
        EXPECT_EQ(list->GetItemRect(0, subItem, rect, CellPart::Cell), 1);
        return rect.left();
    };
    // Name (30 to 150) onto the right half of Result (150 to 300): Result comes first.
    drag(QPoint(90, 8), QPoint(280, 8));
    EXPECT_EQ(list->Model().Columns().Active(), (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(cellLeft(2), 30);
    EXPECT_EQ(cellLeft(1), 180);
    HitTestInfo hit;
    hit.point = {60, RowTop(0) + 4};
    list->HitTest(hit);
    EXPECT_EQ(hit.subItem, 2);

    // The divider after Result (at 180) dragged 40 to the right.
    drag(QPoint(179, 8), QPoint(219, 8));
    EXPECT_EQ(list->GetSubItemWidth(2), 190);
    EXPECT_EQ(cellLeft(1), 220);
}

TEST_F(ReportCtrlTest, ADragOffTheHeaderHidesTheColumnOnlyUnderDragRemove) {
    ASSERT_TRUE(testing::ShowActive(window));
    CFlatHeaderCtrl* header = list->GetHeaderCtrl();
    const auto dragOff = [&] {
        const QPoint from(100, 8);  // the Name caption
        const auto send = [&](QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), QPointF(header->mapToGlobal(at)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(header, &event);
        };
        send(QEvent::MouseMove, from, Qt::NoButton);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from + QPoint(0, 40), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(100, 400), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPoint(100, 400), Qt::NoButton);
        QApplication::processEvents();
    };
    QListWidget chooser;
    list->SetColumnChooser(&chooser);
    dragOff();
    EXPECT_EQ(header->GetDropState(), -1);
    EXPECT_TRUE(list->IsActiveSubItem(1));
    EXPECT_EQ(chooser.count(), 0);
    list->ModifyReportStyle(0, RCS_DRAGREMOVE);
    dragOff();
    EXPECT_FALSE(list->IsActiveSubItem(1));
    EXPECT_TRUE(list->IsActiveSubItem(2));
    // The hidden column is offered to bring back.
    ASSERT_EQ(chooser.count(), 1);
    EXPECT_EQ(chooser.item(0)->text(), "Name");
    EXPECT_EQ(chooser.item(0)->data(Qt::UserRole).toInt(), 1);
    list->SetColumnChooser(nullptr);
}

class ReportEditTest : public ReportCtrlTest {
  protected:
    void SetUp() override {
        ReportCtrlTest::SetUp();
        list->ModifyReportStyle(0, RCS_CELLFOCUS);
        AddRows(3);
        ASSERT_TRUE(testing::ShowActive(window));
        // A click on the Name cell of row 0 puts the cell focus there.
        Click(QPoint(60, RowTop(0) + 4));
        ASSERT_EQ(list->Model().GetFocusColumn(), 1);
    }
    void Type(Qt::Key key, char text = 0) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        text ? QString(QChar(text)) : QString());
        QApplication::sendEvent(list->Editor() ? list->Editor() : static_cast<QWidget*>(list),
                                &press);
    }
};

TEST_F(ReportEditTest, TypingStartsAnEditThatEndsByItsKey) {
    const struct {
        Qt::Key start;
        char character;
        Qt::Key end;
        const char* stored;
    } cases[] = {
        {Qt::Key_X, 'x', Qt::Key_Return, "x"},            // a letter replaces the text
        {Qt::Key_Backspace, '\b', Qt::Key_Tab, "Item "},  // Backspace takes the last one
        {Qt::Key_Q, 'q', Qt::Key_Escape, "Item 1"},       // Esc stores nothing
    };
    for (const auto& c : cases) {
        list->SetItemText(0, 1, "Item 1");
        Type(c.start, c.character);
        ASSERT_NE(list->Editor(), nullptr) << c.stored;
        Type(c.end);
        QApplication::processEvents();
        EXPECT_EQ(list->Editor(), nullptr);
        EXPECT_EQ(list->GetItemText(0, 1), c.stored);
    }
}

TEST_F(ReportEditTest, EscAndDeleteStartNoEditAndACharacterBeyondTheBmpIsTypedWhole) {
    const auto press = [&](Qt::Key key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(list->Editor() ? list->Editor() : static_cast<QWidget*>(list),
                                &event);
        QApplication::processEvents();
    };
    list->SetItemText(0, 1, "Item 1");
    press(Qt::Key_Escape, QStringLiteral("\x1b"));
    press(Qt::Key_Delete, QStringLiteral("\x7f"));
    EXPECT_EQ(list->Editor(), nullptr);
    EXPECT_EQ(list->GetItemText(0, 1), "Item 1");

    const QString lark = QString::fromUtf8("\xF0\x9F\x90\xA6");  // U+1F426, two UTF-16 units
    press(Qt::Key_unknown, lark);
    ASSERT_NE(list->Editor(), nullptr);
    press(Qt::Key_Return, QString());
    EXPECT_EQ(list->GetItemText(0, 1), "\xF0\x9F\x90\xA6");
}

TEST_F(ReportEditTest, AReadOnlyItemNeverEdits) {
    ReportItemInfo info;
    info.mask = RIF_STATE;
    info.item = 0;
    info.subItem = 1;
    info.state = RIS_READONLY;
    list->SetItem(info);
    Type(Qt::Key_X, 'x');
    EXPECT_EQ(list->Editor(), nullptr);
    Click(QPoint(60, RowTop(0) + 4));
    EXPECT_EQ(list->Editor(), nullptr);
    EXPECT_EQ(list->BeginEdit(0, 1, 1), 0);
    // A second click on the focus cell of another row does start one.
    Click(QPoint(60, RowTop(1) + 4));
    EXPECT_EQ(list->Editor(), nullptr);
    Click(QPoint(60, RowTop(1) + 4));
    EXPECT_NE(list->Editor(), nullptr);
}

TEST_F(ReportCtrlTest, ACallFromAnotherThreadIsCaught) {
    std::vector<std::string> faults;
    list->SetThreadCheck([&](const char* entry) { faults.emplace_back(entry); });
    list->GetItemCount();
    EXPECT_TRUE(faults.empty());
    std::thread worker([&] { list->GetItemCount(); });
    worker.join();
    EXPECT_EQ(faults, (std::vector<std::string>{"GetItemCount"}));
}

}  // namespace
}  // namespace pagelark
