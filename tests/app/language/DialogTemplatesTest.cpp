#include "controls/platform/DialogUnits.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/language/DialogTemplates.h"
#include "controls/HoverButton.h"
#include "controls/LinkLabel.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/WindowStyles.h"

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

TEST(DialogUnitsTest, ControlsOfEqualSizeComeOutEqual) {
    // Fonts whose base units make edge conversion round differently.
    for (const int baseX : {5, 6, 7, 9}) {
        QFont font = DialogUnits::DialogFont();
        font.setPixelSize(baseX * 2);
        const DialogUnits units(font);
        const DialogTemplate* main = FindDialogTemplate(IDD_MAIN);
        const QSize topRow = units.ToPixels(main->Find(1009)->Rect()).size();
        for (const int id : {1006, 1007, 1008, 1014, 1015, 1018}) {
            EXPECT_EQ(units.ToPixels(main->Find(id)->Rect()).size(), topRow) << id;
        }
        const QSize column = units.ToPixels(main->Find(1001)->Rect()).size();
        for (const int id : {1000, 3, 2, 1}) {
            EXPECT_EQ(units.ToPixels(main->Find(id)->Rect()).size(), column) << id;
        }
        EXPECT_EQ(units.ToPixels(QRect(50, 3, 45, 19)),
                  QRect(units.ToPixelsX(50), units.ToPixelsY(3), units.ToPixelsX(45),
                        units.ToPixelsY(19)));
    }
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
    EXPECT_EQ(ok->geometry(), units.ToPixels(QRect(127, 132, 50, 14)));
}

TEST(DialogTemplateTest, PlacedLinkLabelFitsItsText) {
    QWidget dialog;
    auto* link = new LinkLabel(&dialog, QStringLiteral("(c) Quillmoor"));
    SetDlgCtrlID(link, 1023);
    const QSize fitted = link->size();
    const DialogUnits units(dialog.font());
    FindDialogTemplate(IDD_MAIN)->PlaceControls(&dialog, units);
    EXPECT_EQ(link->pos(), QPoint(units.ToPixelsX(24), units.ToPixelsY(234)));
    EXPECT_EQ(link->size(), fitted);
}

TEST(DialogTemplateTest, TemplatesRecordTheStylesTheWindowsNeed) {
    const DialogTemplate* main = FindDialogTemplate(IDD_MAIN);
    EXPECT_TRUE(main->IsResizable());
    EXPECT_TRUE(main->WindowFlags().testFlags(Qt::Window | Qt::WindowMinimizeButtonHint |
                                              Qt::WindowMaximizeButtonHint |
                                              Qt::WindowCloseButtonHint));
    EXPECT_EQ(main->Find(1)->style, static_cast<unsigned>(BS_DEFPUSHBUTTON));
    // Built from its row, 1022 is a toggle and Start the default button.
    QWidget window;
    HoverButton pin(&window, static_cast<int>(main->Find(1022)->style));
    EXPECT_TRUE(pin.Model().IsToggle());
    EXPECT_EQ(main->Find(1001)->style, 0u);

    for (const int id : {IDD_ADD_ITEM, IDD_EDIT_ITEM}) {
        const DialogTemplate* editor = FindDialogTemplate(id);
        const Qt::WindowFlags flags = editor->WindowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(editor->IsResizable());
        for (const int edit : {1007, 1003, 1001}) {
            EXPECT_EQ(editor->Find(edit)->style & ES_AUTOHSCROLL, ES_AUTOHSCROLL);
        }
        EXPECT_EQ(editor->Find(1)->style, static_cast<unsigned>(BS_DEFPUSHBUTTON));

        QWidget dialog;
        const DialogUnits units(dialog.font());
        editor->ApplyFrame(&dialog, units);
        EXPECT_EQ(dialog.minimumSize(), editor->PixelSize(units));
        EXPECT_EQ(dialog.maximumSize(), editor->PixelSize(units));
    }
    const DialogTemplate* about = FindDialogTemplate(IDD_ABOUTBOX);
    EXPECT_TRUE(about->WindowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(about->WindowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    const DialogTemplate* detail = FindDialogTemplate(IDD_DETAIL);
    EXPECT_TRUE(detail->IsResizable());
    EXPECT_EQ(detail->Find(1020)->style, WS_BORDER | LVS_REPORT | LVS_SINGLESEL);
}

}  // namespace
}  // namespace pagelark
