#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>

#include "common/ReportHeader.h"

// Where the parts of one header item go inside its span: image, text and sort
// arrow, placed by the item's justification. Pure geometry; the header paints
// from it and so does the floating copy of a dragged item.
namespace pagelark {

// Header item format bits read by the header.
inline constexpr uint32_t kHeaderJustifyMask = 0x3;
inline constexpr uint32_t kHeaderJustifyLeft = 0x0;
inline constexpr uint32_t kHeaderJustifyRight = 0x1;
inline constexpr uint32_t kHeaderJustifyCenter = 0x2;
inline constexpr uint32_t kHeaderFormatImage = 0x800;
inline constexpr uint32_t kHeaderFormatOwnerDraw = 0x8000;

struct HeaderItemMetrics {
    int spacing = 6;
    QSize arrow{8, 8};
    QSize image;         // size of the header's images; empty without an image list
    int imageCount = 0;  // images the list holds
};

struct HeaderItemLayout {
    bool drawsNothing = false;  // other justification, or an image that cannot be drawn
    QRect image;                // empty: no image (drawn clipped to the span)
    QRect text;                 // empty: no text; the text is cut with an ellipsis to fit
    uint32_t textJustify = kHeaderJustifyLeft;
    bool drawArrow = false;
    QPoint arrowOrigin;  // top-left of the arrow's box
};

// span: the item rectangle already narrowed by the spacing on both sides.
// textExtent: the width of the item's text in the header's font.
HeaderItemLayout LayoutHeaderItem(const HeaderItem& item, const QRect& span, bool sorted,
                                  int textExtent, const HeaderItemMetrics& metrics);

}  // namespace pagelark
