#include "controls/platform/ImageList.h"

#include <QPainter>

#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

// Cuts one strip into cells of cellWidth x height, turning the mask colour
// into transparency.
std::vector<QImage> CutStrip(const QImage& strip, int cellWidth) {
    std::vector<QImage> cells;
    if (strip.isNull() || cellWidth <= 0) return cells;
    const QImage source = strip.convertToFormat(QImage::Format_ARGB32);
    const int count = source.width() / cellWidth;
    for (int i = 0; i < count; ++i) {
        QImage cell = source.copy(i * cellWidth, 0, cellWidth, source.height());
        for (int y = 0; y < cell.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(cell.scanLine(y));
            for (int x = 0; x < cell.width(); ++x) {
                if ((line[x] | 0xFF000000) == ImageList::kMaskColour) line[x] = 0;
            }
        }
        cells.push_back(cell);
    }
    return cells;
}

QRgb Towards(QRgb pixel, int red, int green, int blue, double amount) {
    const auto mix = [amount](int from, int to) {
        return static_cast<int>(from + (to - from) * amount + 0.5);
    };
    return qRgba(mix(qRed(pixel), red), mix(qGreen(pixel), green), mix(qBlue(pixel), blue),
                 qAlpha(pixel));
}

}  // namespace

bool ImageList::Create(int bitmapId, int imageWidth) {
    return Create(LoadBitmapImage(bitmapId, 1), imageWidth, LoadBitmapImage(bitmapId, 2));
}

bool ImageList::Create(const QImage& strip, int imageWidth, const QImage& strip2x) {
    m_images.clear();
    m_size = QSize();
    const std::vector<QImage> cells = CutStrip(strip, imageWidth);
    if (cells.empty()) return false;
    std::vector<QImage> dense;
    if (!strip2x.isNull() && strip2x.width() == strip.width() * 2 &&
        strip2x.height() == strip.height() * 2) {
        dense = CutStrip(strip2x, imageWidth * 2);
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        m_images.push_back({cells[i], i < dense.size() ? dense[i] : QImage()});
    }
    m_size = QSize(imageWidth, strip.height());
    return true;
}

QImage ImageList::Styled(const QImage& image, DrawStyle style) {
    if (style == DrawStyle::Normal) return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb pixel = line[x];
            switch (style) {
                case DrawStyle::Blend25:
                    line[x] = Towards(pixel, 255, 255, 255, 0.25);
                    break;
                case DrawStyle::Blend50:
                    line[x] = Towards(pixel, 255, 255, 255, 0.5);
                    break;
                case DrawStyle::Disabled: {
                    // Grey by luminance, lifted so it reads as inactive.
                    const int grey = qGray(pixel);
                    const int lifted = 128 + grey / 2;
                    line[x] = qRgba(lifted, lifted, lifted, qAlpha(pixel));
                    break;
                }
                case DrawStyle::Normal:
                    break;
            }
        }
    }
    return out;
}

QImage ImageList::Image(int index, DrawStyle style, int scale) const {
    if (index < 0 || index >= GetImageCount()) return QImage();
    const Entry& entry = m_images[static_cast<std::size_t>(index)];
    const QImage& source = scale >= 2 && !entry.dense.isNull() ? entry.dense : entry.normal;
    return Styled(source, style);
}

bool ImageList::Draw(QPainter& painter, int index, const QPoint& point, DrawStyle style) const {
    if (index < 0 || index >= GetImageCount()) return false;
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage image = Image(index, style, ratio > 1.0 ? 2 : 1);
    painter.drawImage(QRect(point, m_size), image);
    return true;
}

}  // namespace pagelark
