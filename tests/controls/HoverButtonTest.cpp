#include "controls/HoverButton.h"

#include <QAccessible>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/RoundHoverButton.h"
#include "controls/platform/CommandTarget.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

using testing::PixelBounds;
using testing::Render;
using testing::SendMove;
using testing::ShowActive;
using Change = HoverButtonModel::HoverChange;
using Icon = HoverButtonModel::IconChoice;

// --- the model, without a window ---

TEST(HoverButtonModelTest, ColourSlotsAboveFiveAreRefused) {
    HoverButtonModel model;
    model.SetDefaultColors(Qt::gray, Qt::black);
    EXPECT_EQ(model.SetColor(6, Qt::red), 3);
    EXPECT_EQ(model.SetColor(-1, Qt::red), 3);
    EXPECT_EQ(model.SetColor(5, Qt::red), 0);
    EXPECT_EQ(model.Color(5), QColor(Qt::red));
    EXPECT_EQ(model.Color(0), QColor(Qt::gray));
    EXPECT_EQ(model.Color(1), QColor(Qt::black));
    EXPECT_EQ(model.Color(4), QColor(Qt::gray));
}

TEST(HoverButtonModelTest, APressThatStartedElsewhereDoesNotLightItUp) {
    HoverButtonModel model;
    EXPECT_EQ(model.OnMouseMove(true, true, true), Change::None);
    EXPECT_FALSE(model.IsHovered());
    EXPECT_EQ(model.OnMouseMove(false, true, true), Change::Began);
    // Once lit, a held button no longer matters: leaving ends it.
    EXPECT_EQ(model.OnMouseMove(true, true, true), Change::None);
    EXPECT_EQ(model.OnMouseMove(true, false, true), Change::Ended);
}

TEST(HoverButtonModelTest, AnInactiveApplicationDoesNotLightIt) {
    HoverButtonModel model;
    EXPECT_EQ(model.OnMouseMove(false, true, false), Change::None);
    EXPECT_FALSE(model.IsHovered());
}

TEST(HoverButtonModelTest, AttachReadsToggleAndDefaultFromTheType) {
    HoverButtonModel toggle;
    toggle.Attach(BS_AUTOCHECKBOX | BS_PUSHLIKE);
    EXPECT_TRUE(toggle.IsToggle());
    HoverButtonModel byDefault;
    byDefault.Attach(BS_DEFPUSHBUTTON);
    EXPECT_TRUE(byDefault.IsDefault());
    EXPECT_FALSE(byDefault.IsToggle());
    byDefault.ChangeStyle(BS_PUSHBUTTON);
    EXPECT_FALSE(byDefault.IsDefault());
    byDefault.ChangeStyle(BS_DEFPUSHBUTTON);
    EXPECT_TRUE(byDefault.IsDefault());
}

TEST(HoverButtonModelTest, FaceFollowsHoverPressAndFocus) {
    HoverButtonModel model;
    model.SetDefaultColors(Qt::gray, Qt::black);
    model.SetColor(HoverButtonModel::BkIn, Qt::white);
    model.SetColor(HoverButtonModel::BkFocus, Qt::yellow);
    model.SetColor(HoverButtonModel::FgIn, Qt::blue);

    HoverButtonModel::Face idle = model.Compose(false, false, false, true, true);
    EXPECT_EQ(idle.border, HoverButtonModel::Border::None);
    EXPECT_EQ(idle.fill, QColor(Qt::gray));
    EXPECT_EQ(idle.icon, Icon::Out);
    EXPECT_EQ(model.Compose(false, true, false, true, true).fill, QColor(Qt::yellow));

    model.OnMouseMove(false, true, true);
    const HoverButtonModel::Face hovered = model.Compose(false, true, false, true, true);
    EXPECT_EQ(hovered.border, HoverButtonModel::Border::Raised);
    EXPECT_EQ(hovered.fill, QColor(Qt::white));
    EXPECT_EQ(hovered.icon, Icon::In);
    EXPECT_EQ(hovered.textColour, QColor(Qt::blue));
    EXPECT_FALSE(hovered.shiftContent);

    const HoverButtonModel::Face pressed = model.Compose(true, false, false, true, false);
    EXPECT_EQ(pressed.border, HoverButtonModel::Border::Sunken);
    EXPECT_TRUE(pressed.shiftContent);
    EXPECT_EQ(pressed.icon, Icon::In);
}

TEST(HoverButtonModelTest, ToggleTwoClicksLeaveItUncheckedAndIconFollowsChecked) {
    HoverButtonModel model;
    model.Attach(BS_AUTOCHECKBOX);
    EXPECT_TRUE(model.OnClick());
    EXPECT_TRUE(model.IsChecked());
    EXPECT_EQ(model.Compose(false, false, false, true, true).icon, Icon::In);
    EXPECT_TRUE(model.Compose(false, false, false, true, true).pressed);
    EXPECT_FALSE(model.Compose(false, false, false, true, true).shiftContent);

    EXPECT_TRUE(model.OnClick());
    EXPECT_FALSE(model.IsChecked());
    model.OnMouseMove(false, true, true);
    // Hovered but unchecked: the out icon, not the hover icon.
    EXPECT_EQ(model.Compose(false, false, false, true, true).icon, Icon::Out);
}

TEST(HoverButtonModelTest, MenuShowingCountsAsPressedForPushButtonsOnly) {
    HoverButtonModel model;
    model.SetHasMenu(true);
    EXPECT_FALSE(model.IsPressed(false));
    model.SetMenuShowing(true);
    EXPECT_TRUE(model.IsPressed(false));
    model.SetHasMenu(false);
    EXPECT_FALSE(model.IsPressed(false));
}

// --- the widget ---

class Owner : public CommandTarget {
  public:
    void OnCommand(int commandId) override { commands.push_back(commandId); }
    std::vector<int> commands;
};

class HoverButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(300, 120);
        button = new HoverButton(&window);
        button->setGeometry(10, 10, 90, 40);
        other = new HoverButton(&window);
        other->setGeometry(110, 10, 90, 40);
    }

    QWidget window;
    HoverButton* button = nullptr;
    HoverButton* other = nullptr;
};

TEST_F(HoverButtonTest, SetColorSlotSixReturnsThreeAndChangesNothing) {
    const QColor before = button->GetColor(5);
    EXPECT_EQ(button->SetColor(6, Qt::red), 3);
    EXPECT_EQ(button->GetColor(5), before);
    EXPECT_EQ(button->SetColor(0, Qt::red), 0);
    EXPECT_EQ(button->GetColor(0), QColor(Qt::red));
}

TEST_F(HoverButtonTest, StartsWithFaceAndTextColours) {
    EXPECT_EQ(button->GetColor(0), button->palette().color(QPalette::Button));
    EXPECT_EQ(button->GetColor(3), button->palette().color(QPalette::ButtonText));
}

TEST_F(HoverButtonTest, HoverDoesNotLightWhileTheLeftButtonIsHeldElsewhere) {
    ASSERT_TRUE(ShowActive(window));
    SendMove(*button, QPoint(20, 20), Qt::LeftButton);
    EXPECT_FALSE(button->Model().IsHovered());
    SendMove(*button, QPoint(20, 20));
    EXPECT_TRUE(button->Model().IsHovered());
}

TEST_F(HoverButtonTest, HoverEndsOnLeaveFocusLossAndDisabling) {
    ASSERT_TRUE(ShowActive(window));
    SendMove(*button, QPoint(20, 20));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->Model().IsHovered());

    button->setFocus();
    SendMove(*button, QPoint(20, 20));
    other->setFocus();
    EXPECT_FALSE(button->Model().IsHovered());

    SendMove(*button, QPoint(20, 20));
    ASSERT_TRUE(button->Model().IsHovered());
    button->setEnabled(false);
    EXPECT_FALSE(button->Model().IsHovered());
}

TEST_F(HoverButtonTest, DisablingMovesTheFocusToTheNextTabStop) {
    ASSERT_TRUE(ShowActive(window));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    button->setEnabled(false);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(HoverButtonTest, ToggleModeIsUncheckedAfterTwoClicks) {
    HoverButton toggle(&window, BS_AUTOCHECKBOX | BS_PUSHLIKE);
    int clicks = 0;
    QObject::connect(&toggle, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    toggle.click();
    EXPECT_TRUE(toggle.GetCheck());
    toggle.click();
    EXPECT_FALSE(toggle.GetCheck());
    EXPECT_EQ(clicks, 2);  // the parent hears every click
}

TEST_F(HoverButtonTest, MenuButtonLooksPressedWhileItsMenuIsOpen) {
    Owner owner;
    button->SetIcon(178, 179);
    ASSERT_EQ(button->SetMenu(177, &owner), 0);
    ASSERT_TRUE(ShowActive(window));

    const QImage idle = Render(*button);
    button->setDown(true);
    const QImage pressed = Render(*button);
    button->setDown(false);
    ASSERT_NE(idle, pressed);

    QImage whileOpen;
    QPoint shownAt;
    button->SetMenuTracker([&](QMenu& menu, const QPoint& at) {
        whileOpen = Render(*button);
        shownAt = at;
        const QList<QAction*> actions = menu.actions();
        ASSERT_EQ(actions.size(), 3);
        actions[2]->trigger();
    });
    button->click();

    EXPECT_EQ(whileOpen, pressed);
    EXPECT_EQ(Render(*button), idle);
    EXPECT_EQ(shownAt, button->mapToGlobal(QPoint(0, button->height())));
    EXPECT_EQ(owner.commands, std::vector<int>{32773});
}

TEST_F(HoverButtonTest, MissingMenuOrIconIsReported) {
    Owner owner;
    EXPECT_EQ(button->SetMenu(999, &owner), 1);
    EXPECT_FALSE(button->Model().HasMenu());
    EXPECT_EQ(button->SetMenu(0, &owner), 0);

    ASSERT_EQ(button->SetIcon(137, 137), 0);
    EXPECT_EQ(button->SetIcon(137, 999), 1);
    // The failed call leaves no icon: nothing but the face is drawn.
    const QImage image = Render(*button);
    const QRgb face = image.pixel(1, 1);
    EXPECT_TRUE(PixelBounds(image, [face](QRgb p) { return p != face; }).isNull());
}

TEST_F(HoverButtonTest, DisabledCaptionIsDrawnEngraved) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::Light, QColor(255, 0, 0));
    palette.setColor(QPalette::Dark, QColor(0, 0, 255));
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->SetDefaultColors(false);
    button->setText(QStringLiteral("Delete"));
    button->setEnabled(false);

    const QImage image = Render(*button);
    const QRect light = PixelBounds(
        image, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 120 && qBlue(p) < 120; });
    const QRect shadow = PixelBounds(
        image, [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 120 && qGreen(p) < 120; });
    const QRect ink =
        PixelBounds(image, [](QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; });
    ASSERT_FALSE(light.isNull());
    ASSERT_FALSE(shadow.isNull());
    EXPECT_TRUE(ink.isNull());
    EXPECT_EQ(light.bottomRight(), shadow.bottomRight() + QPoint(1, 1));
}

TEST_F(HoverButtonTest, DisabledCaptionUsesTheNormalShadowNotTheDisabledOne) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Dark, QColor(0, 0, 255));
    // What a style gives a disabled widget: a pale shadow.
    palette.setColor(QPalette::Disabled, QPalette::Dark, QColor(0, 255, 0));
    button->setPalette(palette);
    button->SetDefaultColors(false);
    button->setText(QStringLiteral("Delete"));
    button->setEnabled(false);

    const QImage image = Render(*button);
    EXPECT_FALSE(PixelBounds(image, [](QRgb p) {
                     return qBlue(p) > 200 && qRed(p) < 120 && qGreen(p) < 120;
                 }).isNull());
    EXPECT_TRUE(PixelBounds(image, [](QRgb p) {
                    return qGreen(p) > 200 && qRed(p) < 120 && qBlue(p) < 120;
                }).isNull());
}

TEST_F(HoverButtonTest, PressedCaptionMovesOnePixelRightAndDown) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->SetDefaultColors(false);
    button->setText(QStringLiteral("Add"));
    ASSERT_TRUE(ShowActive(window));

    const auto inkBounds = [this] {
        const QImage image = Render(*button);
        // Leave the one-pixel frame out.
        return PixelBounds(image.copy(2, 2, image.width() - 4, image.height() - 4),
                           [](QRgb p) { return qGray(p) < 80; });
    };
    SendMove(*button, QPoint(20, 20));
    const QRect raised = inkBounds();
    button->setDown(true);
    const QRect sunken = inkBounds();
    ASSERT_FALSE(raised.isNull());
    EXPECT_EQ(sunken, raised.translated(1, 1));
}

TEST_F(HoverButtonTest, CaptionIsCentredAndWrapsInsteadOfOverflowing) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->SetDefaultColors(false);
    button->resize(60, 60);
    button->setText(QStringLiteral("Always on top"));
    const QImage image = Render(*button);
    const QRect ink = PixelBounds(image, [](QRgb p) { return qGray(p) < 80; });
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 0);
    EXPECT_LT(ink.right(), 60);
    EXPECT_NEAR(ink.center().x(), 30, 3);
    EXPECT_NEAR(ink.center().y(), 30, 3);
    EXPECT_GT(ink.height(), QFontMetrics(button->font()).height());  // two lines
}

TEST_F(HoverButtonTest, TooltipIsSetOnlyWhenActivated) {
    button->SetTooltipText(QString());
    EXPECT_TRUE(button->TooltipText().isNull());
    button->SetTooltipText(QStringLiteral("Select Language"), false);
    EXPECT_TRUE(button->toolTip().isEmpty());
    button->SetTooltipText(QStringLiteral("Select Language"), true);
    EXPECT_EQ(button->toolTip(), QStringLiteral("Select Language"));
}

TEST_F(HoverButtonTest, IconOnlyButtonIsNamedByItsTooltip) {
    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    button->SetTooltipText(QStringLiteral("Select Language"), true);
    EXPECT_EQ(name(button), QStringLiteral("Select Language"));
    // A language switch renames it; an inactive tip still names it.
    button->SetTooltipText(QStringLiteral("选择语言"), false);
    EXPECT_EQ(name(button), QStringLiteral("选择语言"));
    // A captioned button keeps its caption as its name.
    other->setText(QStringLiteral("Load"));
    other->SetTooltipText(QStringLiteral("Open a script"), true);
    EXPECT_EQ(name(other), QStringLiteral("Load"));
}

TEST_F(HoverButtonTest, LongTooltipsWrapAtFourHundredPixels) {
    const QString text = QString(QStringLiteral("word ")).repeated(60).trimmed();
    const QString wrapped = HoverButton::WrapTip(text, button->font(), 400);
    const QStringList lines = wrapped.split(u'\n');
    ASSERT_GT(lines.size(), 1);
    const QFontMetrics metrics(button->font());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), 400);
    EXPECT_EQ(lines.join(u' '), text);
    EXPECT_EQ(HoverButton::WrapTip(QStringLiteral("Select Language"), button->font(), 400),
              QStringLiteral("Select Language"));
}

TEST_F(HoverButtonTest, DefaultTypeMakesTheDialogsDefaultButton) {
    HoverButton start(&window, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(start.Model().IsDefault());
    EXPECT_TRUE(start.isDefault());
    start.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_FALSE(start.isDefault());
}

TEST_F(HoverButtonTest, RoundButtonOutlinesItsLitFaceInBlack) {
    RoundHoverButton round(&window);
    round.setGeometry(10, 60, 90, 40);
    round.SetColor(HoverButtonModel::BkIn, Qt::white);
    ASSERT_TRUE(ShowActive(window));
    const QImage flat = Render(round);
    EXPECT_NE(flat.pixel(0, 20), qRgb(0, 0, 0));
    SendMove(round, QPoint(20, 20));
    const QImage square = Render(round);
    EXPECT_EQ(square.pixel(0, 20), qRgb(0, 0, 0));
    EXPECT_EQ(square.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(square.pixel(20, 20), qRgb(255, 255, 255));
    round.SetRound(true);
    // The rounded corner leaves the very corner pixel unpainted by the outline.
    EXPECT_NE(Render(round).pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Render(round).pixel(0, 20), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace pagelark
