#include "controls/HeaderItemLayout.h"

#include <algorithm>

namespace pagelark {

HeaderItemLayout LayoutHeaderItem(const HeaderItem& item, const QRect& span, bool sorted,
                                  int textExtent, const HeaderItemMetrics& metrics) {
    HeaderItemLayout out;
    const uint32_t justify = item.format & kHeaderJustifyMask;
    if (justify != kHeaderJustifyLeft && justify != kHeaderJustifyRight &&
        justify != kHeaderJustifyCenter) {
        out.drawsNothing = true;
        return out;
    }
    out.textJustify = justify;
    const int spacing = metrics.spacing;
    const int arrowWidth = metrics.arrow.width();
    const int top = span.top();
    const int height = span.height();
    int left = span.left();
    const int right = span.left() + span.width();  // one past the last column

    if ((item.format & kHeaderFormatImage) && span.width() > 0) {
        // An item promised an image it cannot show: nothing else is drawn either.
        if (item.image < 0 || item.image >= metrics.imageCount) {
            out.drawsNothing = true;
            return out;
        }
        const QSize size = metrics.image;
        out.image = QRect(left, top + (height - size.height()) / 2, size.width(), size.height());
        if (size.width() > 0) left += size.width() + spacing;
    }

    // The arrow's top is found by a shift, which rounds down for odd or negative room.
    const int arrowTop = top + ((height - metrics.arrow.height() - 1) >> 1);
    int textRight = right;
    if (justify == kHeaderJustifyLeft) {
        if (sorted) textRight -= arrowWidth + spacing;
        const int width = std::clamp(textRight - left, 0, std::max(textExtent, 0));
        if (width > 0) {
            out.text = QRect(left, top, width, height);
            left += width + spacing;
        }
        if (sorted) {
            out.arrowOrigin = QPoint(left, arrowTop);
            out.drawArrow = left + arrowWidth <= right;
        }
        return out;
    }

    if (sorted) {
        out.arrowOrigin = QPoint(right - arrowWidth, arrowTop);
        out.drawArrow = right - arrowWidth >= left;
        textRight = right - (arrowWidth + 2 * spacing);
    }
    const int room = std::max(textRight - left, 0);
    const int width = std::clamp(textExtent, 0, room);
    if (width > 0) {
        const int x =
            justify == kHeaderJustifyRight ? textRight - width : left + (room - width) / 2;
        out.text = QRect(x, top, width, height);
    }
    return out;
}

}  // namespace pagelark
