#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSize>

#include <vector>

class QPainter;

// Small images cut from one horizontal strip. Pixels of the mask colour
// (magenta) are transparent. A strip may come with a double-size copy, which
// is used where the screen has more than one pixel per point.
namespace pagelark {

class ImageList {
  public:
    static constexpr QRgb kMaskColour = 0xFFFF00FF;

    enum class DrawStyle {
        Normal,
        Blend25,   // a quarter white
        Blend50,   // half white
        Disabled,  // grey and faded
    };

    ImageList() = default;

    // Cuts bitmap resource bitmapId into images imageWidth wide.
    bool Create(int bitmapId, int imageWidth = 16);
    // Cuts the given strip; strip2x, when given, has every image at twice the size.
    bool Create(const QImage& strip, int imageWidth, const QImage& strip2x = QImage());

    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    QSize ImageSize() const { return m_size; }

    // The image at scale 1 or 2 in the given style, with transparency applied.
    QImage Image(int index, DrawStyle style = DrawStyle::Normal, int scale = 1) const;

    // Draws image index with its top-left at point; false for a bad index.
    bool Draw(QPainter& painter, int index, const QPoint& point,
              DrawStyle style = DrawStyle::Normal) const;

  private:
    struct Entry {
        QImage normal;
        QImage dense;  // double size, may be null
    };

    static QImage Styled(const QImage& image, DrawStyle style);

    QSize m_size;
    std::vector<Entry> m_images;
};

}  // namespace pagelark
