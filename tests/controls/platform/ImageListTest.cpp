#include "controls/platform/ImageList.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace pagelark {
namespace {

QImage TwoCellStrip() {
    QImage strip(8, 4, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    strip.setPixel(1, 1, qRgb(255, 0, 0));  // cell 0
    strip.setPixel(5, 2, qRgb(0, 0, 255));  // cell 1
    return strip;
}

// The eight state pictures and the sign of a row that needs attention.
TEST(ImageListTest, StateStripHasNineImagesOnATransparentGround) {
    ImageList images;
    ASSERT_TRUE(images.Create(131, 16));
    EXPECT_EQ(images.GetImageCount(), 9);
    EXPECT_EQ(images.ImageSize(), QSize(16, 16));
    for (int i = 0; i < 9; ++i) {
        const QImage image = images.Image(i);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << i;
        EXPECT_EQ(qAlpha(image.pixel(8, 8)), 255) << i;
    }
    EXPECT_EQ(images.Image(0, ImageList::DrawStyle::Normal, 2).size(), QSize(32, 32));
}

TEST(ImageListTest, StateImagesReadAsTheirState) {
    ImageList images;
    ASSERT_TRUE(images.Create(131, 16));
    // Sampled on each disc's rim: Done green, Working amber, Disabled grey, Failed red.
    const QColor done = images.Image(2).pixelColor(8, 2);
    const QColor working = images.Image(3).pixelColor(8, 2);
    const QColor disabled = images.Image(4).pixelColor(8, 2);
    const QColor failed = images.Image(5).pixelColor(8, 2);
    EXPECT_GT(done.green(), done.red() + 60);
    EXPECT_GT(working.red(), working.blue() + 100);
    EXPECT_LT(disabled.hsvSaturation(), 60);
    EXPECT_GT(failed.red(), failed.green() + 100);
    const QColor ready = images.Image(1).pixelColor(8, 2);
    EXPECT_GT(ready.blue(), ready.red() + 100);
}

TEST(ImageListTest, MaskColourBecomesTransparentOthersStay) {
    ImageList images;
    ASSERT_TRUE(images.Create(TwoCellStrip(), 4));
    ASSERT_EQ(images.GetImageCount(), 2);
    const QImage first = images.Image(0);
    EXPECT_EQ(first.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0);
    EXPECT_EQ(images.Image(1).pixel(1, 2), qRgb(0, 0, 255));
}

TEST(ImageListTest, BlendsWithWhiteAndGreysWhenDisabled) {
    ImageList images;
    ASSERT_TRUE(images.Create(TwoCellStrip(), 4));
    EXPECT_EQ(images.Image(0, ImageList::DrawStyle::Blend50).pixel(1, 1), qRgb(255, 128, 128));
    EXPECT_EQ(images.Image(0, ImageList::DrawStyle::Blend25).pixel(1, 1), qRgb(255, 64, 64));
    const QColor grey = images.Image(0, ImageList::DrawStyle::Disabled).pixelColor(1, 1);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    EXPECT_EQ(qAlpha(images.Image(0, ImageList::DrawStyle::Disabled).pixel(0, 0)), 0);
}

TEST(ImageListTest, DrawsAtAPointAndRefusesBadIndexes) {
    ImageList images;
    ASSERT_TRUE(images.Create(TwoCellStrip(), 4));
    QImage target(10, 10, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    EXPECT_TRUE(images.Draw(painter, 0, QPoint(3, 3)));
    EXPECT_FALSE(images.Draw(painter, 2, QPoint(0, 0)));
    EXPECT_FALSE(images.Draw(painter, -1, QPoint(0, 0)));
    painter.end();
    EXPECT_EQ(target.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(3, 3), qRgb(255, 255, 255));
}

TEST(ImageListTest, EmptyStripMakesNoList) {
    ImageList images;
    EXPECT_FALSE(images.Create(QImage(), 16));
    EXPECT_FALSE(images.Create(999, 16));
    EXPECT_EQ(images.GetImageCount(), 0);
}

}  // namespace
}  // namespace pagelark
