#include "controls/DialogUnits.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/DialogTemplates.h"
#include "controls/DlgItem.h"

namespace pagelark {
namespace {

TEST(DialogUnitsTest, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(7, 3, 2), 11);
    EXPECT_EQ(MulDiv(-7, 3, 2), -11);
    EXPECT_EQ(MulDiv(6, 3, 4), 5);
    EXPECT_EQ(MulDiv(5, 3, 4), 4);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(DialogUnitsTest, BaseUnitsComeFromTheFont) {
    const QFont font = DialogUnits::DialogFont();
    EXPECT_EQ(font.pointSize(), 9);
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(units.BaseX(), (letters / 26 + 1) / 2);
    EXPECT_EQ(units.BaseY(), metrics.height());
    EXPECT_EQ(units.ToPixels(QRect(0, 0, 4, 8)), QRect(0, 0, units.BaseX(), units.BaseY()));
    EXPECT_EQ(units.ToPixelsX(61), MulDiv(61, units.BaseX(), 4));
    EXPECT_EQ(units.ToPixelsY(29), MulDiv(29, units.BaseY(), 8));
}

TEST(DialogUnitsTest, AdjacentControlsStayFlush) {
    const DialogUnits units(DialogUnits::DialogFont());
    const QRect first = units.ToPixels(QRect(5, 3, 45, 19));
    const QRect second = units.ToPixels(QRect(50, 3, 45, 19));
    EXPECT_EQ(first.right() + 1, second.left());
}

TEST(DialogTemplateTest, TemplatesHoldTheirControls) {
    const DialogTemplate* main = FindDialogTemplate(IDD_MAIN);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->width, 401);
    EXPECT_EQ(main->height, 249);
    const DialogControl* start = main->Find(1);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Rect(), QRect(335, 198, 61, 29));
    EXPECT_EQ(start->textId, 182);
    EXPECT_EQ(start->iconIn, 174);
    EXPECT_EQ(start->iconOut, 167);
    EXPECT_EQ(FindDialogTemplate(101), nullptr);

    const DialogTemplate* add = FindDialogTemplate(IDD_ADD_ITEM);
    const DialogTemplate* edit = FindDialogTemplate(IDD_EDIT_ITEM);
    ASSERT_NE(add, nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(add->controls.size(), edit->controls.size());
    for (std::size_t i = 0; i < add->controls.size(); ++i) {
        EXPECT_EQ(add->controls[i].id, edit->controls[i].id);
        EXPECT_EQ(add->controls[i].Rect(), edit->controls[i].Rect());
    }
    EXPECT_TRUE(FindDialogTemplate(IDD_DETAIL)->Find(1)->hidden);
    EXPECT_NE(FindDialogTemplate(IDD_ABOUTBOX), nullptr);
}

TEST(DialogTemplateTest, ControlsAreFoundByIdAndPlaced) {
    QWidget dialog;
    auto* ok = new QPushButton(&dialog);
    SetDlgCtrlID(ok, 1);
    auto* holder = new QWidget(&dialog);
    auto* name = new QLabel(holder);
    SetDlgCtrlID(name, 1025);

    EXPECT_EQ(GetDlgItem(&dialog, 1), ok);
    EXPECT_EQ(GetDlgItem(&dialog, 1025), name);
    EXPECT_EQ(GetDlgItem(&dialog, 1026), nullptr);
    EXPECT_EQ(GetDlgCtrlID(ok), 1);
    EXPECT_EQ(GetDlgCtrlID(holder), 0);

    const DialogUnits units(dialog.font());
    const DialogTemplate* editor = FindDialogTemplate(IDD_ADD_ITEM);
    editor->PlaceControls(&dialog, units);
    EXPECT_EQ(ok->geometry(), units.ToPixels(QRect(65, 64, 50, 14)));
}

}  // namespace
}  // namespace pagelark
