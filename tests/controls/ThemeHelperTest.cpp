#include "controls/ThemeHelper.h"

#include <QDialog>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/HoverButton.h"
#include "controls/ThemedHoverButton.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

using testing::Render;
using testing::SendMove;
using testing::ShowActive;

TEST(ThemeHelperTest, WithoutTheLibraryEveryCallFallsBack) {
    ThemeHelper helper(ThemeHelper::Binding::WithoutLibrary);
    QWidget window;
    EXPECT_FALSE(helper.IsAppThemed());
    EXPECT_EQ(helper.OpenThemeData(&window, u"BUTTON"), 0u);
    EXPECT_EQ(helper.CloseThemeData(1), ThemeHelper::kFail);
    QImage image(10, 10, QImage::Format_ARGB32);
    QPainter painter(&image);
    EXPECT_EQ(helper.DrawThemeBackground(1, &painter, 1, 1, image.rect(), nullptr),
              ThemeHelper::kFail);
}

TEST(ThemeHelperTest, BoundToTheStyleItOpensDrawsAndCloses) {
    ThemeHelper helper;
    QWidget window;
    ASSERT_TRUE(helper.IsAppThemed());
    EXPECT_EQ(helper.OpenThemeData(&window, u"EDIT"), 0u);
    const HTHEME theme = helper.OpenThemeData(&window, u"EDIT;BUTTON");
    ASSERT_NE(theme, 0u);

    QImage image(40, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int state = 1; state <= 5; ++state) {
        EXPECT_EQ(helper.DrawThemeBackground(theme, &painter, 1, state, image.rect(), nullptr),
                  ThemeHelper::kOk);
    }
    EXPECT_EQ(helper.DrawThemeBackground(theme, &painter, 2, 1, image.rect(), nullptr),
              ThemeHelper::kInvalidArg);
    EXPECT_EQ(helper.DrawThemeBackground(theme, &painter, 1, 6, image.rect(), nullptr),
              ThemeHelper::kInvalidArg);
    painter.end();
    EXPECT_GT(qAlpha(image.pixel(20, 12)), 0);

    EXPECT_EQ(helper.CloseThemeData(theme), ThemeHelper::kOk);
    EXPECT_NE(helper.CloseThemeData(theme), ThemeHelper::kOk);
    EXPECT_EQ(helper.OpenHandleCount(), 0);
}

TEST(ThemeHelperTest, ClipRectangleLimitsTheDrawing) {
    ThemeHelper helper;
    QWidget window;
    const HTHEME theme = helper.OpenThemeData(&window, u"BUTTON");
    QImage image(40, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QRect clip(0, 0, 10, 24);
    helper.DrawThemeBackground(theme, &painter, 1, 1, image.rect(), &clip);
    painter.end();
    helper.CloseThemeData(theme);
    EXPECT_EQ(qAlpha(image.pixel(30, 12)), 0);
    EXPECT_GT(qAlpha(image.pixel(5, 12)), 0);
}

// One button of each kind with the same caption, icons and state.
struct Pair {
    Pair(ThemeHelper* helper) : plain(&window), themed(&window) {
        for (HoverButton* button : {&plain, static_cast<HoverButton*>(&themed)}) {
            button->setText(QStringLiteral("Load"));
            button->SetIcon(147, 171);
            button->SetColor(HoverButtonModel::BkIn, QColor(0xFE, 0xFE, 0xFE));
        }
        plain.setGeometry(0, 0, 92, 48);
        themed.setGeometry(100, 0, 92, 48);
        themed.SetThemeHelper(helper);
        window.resize(200, 50);
    }
    QWidget window;
    HoverButton plain;
    ThemedHoverButton themed;
};

TEST(ThemedHoverButtonTest, WithoutTheLibraryItDrawsExactlyLikeAHoverButton) {
    ThemeHelper helper(ThemeHelper::Binding::WithoutLibrary);
    Pair pair(&helper);
    ASSERT_TRUE(ShowActive(pair.window));
    EXPECT_EQ(Render(pair.plain), Render(pair.themed));

    SendMove(pair.plain, QPoint(10, 10));
    SendMove(pair.themed, QPoint(10, 10));
    ASSERT_TRUE(pair.plain.Model().IsHovered());
    EXPECT_EQ(Render(pair.plain), Render(pair.themed));

    pair.plain.setDown(true);
    pair.themed.setDown(true);
    EXPECT_EQ(Render(pair.plain), Render(pair.themed));

    pair.plain.setDown(false);
    pair.themed.setDown(false);
    pair.plain.setEnabled(false);
    pair.themed.setEnabled(false);
    EXPECT_EQ(Render(pair.plain), Render(pair.themed));
}

TEST(ThemedHoverButtonTest, WithAStyleTheFaceComesFromItAndEveryOpenIsClosed) {
    ThemeHelper helper;
    Pair pair(&helper);
    ASSERT_TRUE(ShowActive(pair.window));
    EXPECT_NE(Render(pair.plain), Render(pair.themed));
    EXPECT_EQ(helper.OpenHandleCount(), 0);
    SendMove(pair.themed, QPoint(10, 10));
    Render(pair.themed);
    EXPECT_EQ(pair.themed.ThemeState(), ThemeHelper::kStateHot);
    pair.themed.setDown(true);
    Render(pair.themed);
    EXPECT_EQ(pair.themed.ThemeState(), ThemeHelper::kStatePressed);
    EXPECT_EQ(helper.OpenHandleCount(), 0);
}

TEST(ThemedHoverButtonTest, StateFollowsDisabledPressedHotDefault) {
    ThemeHelper helper;
    QWidget window;
    ThemedHoverButton normal(&window);
    ThemedHoverButton byDefault(&window, BS_DEFPUSHBUTTON);
    ThemedHoverButton disabled(&window, BS_DEFPUSHBUTTON);
    for (ThemedHoverButton* button : {&normal, &byDefault, &disabled}) {
        button->SetThemeHelper(&helper);
        button->resize(60, 30);
    }
    disabled.setEnabled(false);
    disabled.setDown(true);
    Render(normal);
    Render(byDefault);
    Render(disabled);
    EXPECT_EQ(normal.ThemeState(), ThemeHelper::kStateNormal);
    EXPECT_EQ(byDefault.ThemeState(), ThemeHelper::kStateDefaulted);
    EXPECT_EQ(disabled.ThemeState(), ThemeHelper::kStateDisabled);
}

TEST(ThemedHoverButtonTest, DefaultLookFollowsTheFocusedPushButton) {
    ThemeHelper helper;
    QDialog dialog;
    ThemedHoverButton start(&dialog, BS_DEFPUSHBUTTON);
    ThemedHoverButton load(&dialog);
    start.setGeometry(0, 0, 60, 30);
    load.setGeometry(0, 40, 60, 30);
    start.SetThemeHelper(&helper);
    load.SetThemeHelper(&helper);
    ASSERT_TRUE(ShowActive(dialog));

    // Qt makes the focused push button the default; the frame goes with it.
    load.setFocus();
    ASSERT_TRUE(load.isDefault());
    Render(start);
    Render(load);
    EXPECT_EQ(start.ThemeState(), ThemeHelper::kStateNormal);
    EXPECT_EQ(load.ThemeState(), ThemeHelper::kStateDefaulted);

    start.setFocus();
    Render(start);
    Render(load);
    EXPECT_EQ(start.ThemeState(), ThemeHelper::kStateDefaulted);
    EXPECT_EQ(load.ThemeState(), ThemeHelper::kStateNormal);
}

}  // namespace
}  // namespace pagelark
