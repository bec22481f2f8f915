#include "controls/platform/Resources.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace pagelark {
namespace {

// Counts pixels that are not fully transparent.
int InkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return count;
}

TEST(ResourcesTest, EveryIconOfTheWindowsDrawsAtItsSize) {
    const int ids[] = {128, 137, 138, 139, 147, 148, 149, 152, 153, 160, 161, 163, 167, 168,
                       169, 170, 171, 172, 173, 174, 178, 179, 180, 181, 186, 187, 188, 189};
    for (const int id : ids) {
        const QIcon icon = LoadIcon(id);
        const QSize size = IconSize(id);
        ASSERT_FALSE(icon.isNull()) << id;
        ASSERT_FALSE(size.isEmpty()) << id;
        // Drawn at its size and twice that, so it is crisp on dense screens too.
        for (const int scale : {1, 2}) {
            QImage image(size * scale, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            icon.paint(&painter, image.rect());
            painter.end();
            EXPECT_GT(InkedPixels(image), image.width() * image.height() / 5) << id;
        }
    }
}

TEST(ResourcesTest, ButtonIconsHaveTheirDefaultSizes) {
    EXPECT_EQ(IconSize(137), QSize(16, 16));
    EXPECT_EQ(IconSize(147), QSize(32, 32));
    EXPECT_EQ(IconSize(128), QSize(32, 32));
}

TEST(ResourcesTest, MissingIconIsNull) {
    EXPECT_TRUE(LoadIcon(999).isNull());
    EXPECT_TRUE(IconSize(999).isEmpty());
}

TEST(ResourcesTest, BitmapsHaveTheirSizes) {
    EXPECT_EQ(LoadBitmapImage(131).size(), QSize(144, 16));
    EXPECT_EQ(LoadBitmapImage(131, 2).size(), QSize(288, 32));
    EXPECT_EQ(LoadBitmapImage(134).size(), QSize(300, 164));
    EXPECT_EQ(LoadBitmapImage(176).size(), QSize(300, 160));
    EXPECT_EQ(LoadBitmap(176).deviceIndependentSize().toSize(), QSize(300, 160));
    EXPECT_TRUE(LoadBitmap(999).isNull());
}

TEST(ResourcesTest, ListBackgroundStaysLightSoTextReads) {
    const QImage background = LoadBitmapImage(134);
    for (int y = 0; y < background.height(); y += 3) {
        for (int x = 0; x < background.width(); x += 3) {
            ASSERT_GT(qGray(background.pixel(x, y)), 200) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace pagelark
