// CReportCtrl: painting. Only rows that meet the exposed area are drawn, and in
// a row only the cells that reach into it; Qt's backing store is the
// off-screen bitmap, so nothing flickers.
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

#include "controls/platform/ColorRef.h"
#include "controls/platform/ImageList.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {

namespace {

constexpr int kTextBuffer = 256;

// Pens are one device pixel wide lines on pixel centres.
void Line(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

}  // namespace

void CReportCtrl::paintEvent(QPaintEvent* event) {
    if (m_orderStale) ReadOrder();
    QPainter painter(viewport());
    const QRect clip = event->rect();
    DrawBackground(painter, clip, isEnabled() ? m_colors.window : m_colors.disabled);
    painter.setFont(m_font);
    if (m_model.GetStyle() & RCS_NEWITEMROW) PaintBand(painter);
    PaintRows(painter, clip);
}

int CReportCtrl::DrawBackground(QPainter& painter, const QRect& rect, const QColor& color) {
    if (m_background.isNull()) {
        painter.fillRect(rect, color);
        return 0;
    }
    const QRect area = rect & m_layout.RowsRect();
    if (area.isEmpty()) return 1;
    // Tiles follow the content sideways and the client area downwards.
    const QSizeF tile = m_background.deviceIndependentSize();
    const int width = std::max(1, qRound(tile.width()));
    const int height = std::max(1, qRound(tile.height()));
    const int x = (area.left() + m_layout.HorizontalPosition()) % width;
    const int y = area.top() % height;
    painter.drawTiledPixmap(area, m_background, QPointF(x, y));
    return 1;
}

void CReportCtrl::PaintBand(QPainter& painter) {
    const QRect band = m_layout.BandRect();
    painter.fillRect(band, m_colors.window);
    painter.setPen(m_colors.bandLight);
    Line(painter, band.left(), band.top(), band.right(), band.top());
    Line(painter, band.left(), band.top(), band.left(), band.bottom());
    painter.setPen(m_colors.bandDark);
    Line(painter, band.left(), band.bottom(), band.right(), band.bottom());
    Line(painter, band.right(), band.top(), band.right(), band.bottom());
    ReportItemInfo info;
    info.item = -1;
    m_model.GetItem(info);
    const QRect rowRect = m_layout.RowRect(-1);
    painter.save();
    painter.setClipRect(band.adjusted(1, 1, -1, -1));
    DrawItem(painter, rowRect, -1, -1, info, false);
    painter.restore();
    if (m_model.HasFocus() && !m_editor && m_model.GetFocusRow() == -1 &&
        m_model.GetFocusColumn() < 0) {
        const bool grid = m_model.GetStyle() & (RCS_HGRID | RCS_VGRID);
        DrawFocusRect(painter, grid ? band.adjusted(1, 0, -1, 0) : band);
    }
}

void CReportCtrl::PaintRows(QPainter& painter, const QRect& clip) {
    const QRect rows = m_layout.RowsRect();
    const uint32_t style = m_model.GetStyle();
    const int count = m_model.GetRowCount();
    const int rowHeight = m_layout.RowHeight();
    const bool grid = style & (RCS_HGRID | RCS_VGRID);
    const bool focusRows = m_model.HasFocus() && !m_editor;
    painter.save();
    painter.setClipRect(rows & clip);
    int y = rows.top();
    int row = m_layout.TopRow();
    for (; row < count && y <= clip.bottom() && y <= rows.bottom(); ++row) {
        const int item = m_model.GetItemFromRow(row);
        ReportItemInfo info;
        info.item = item;
        m_model.GetItem(info);
        const int preview = m_model.PreviewEnabled() ? std::max(0, info.previewHeight) : 0;
        const int height = rowHeight + preview;
        if (y + height > clip.top()) {
            const int indent = m_layout.IndentPixels(row);
            const int left = rows.left() - m_layout.HorizontalPosition();
            const int rowLeft = left + indent;
            const int right = std::max(rowLeft, left + m_layout.Extent());
            const QRect rowRect(rowLeft, y, right - rowLeft, height);
            DrawItem(painter, rowRect, item, row, info, row % 2 == 1);
            if (preview > 0) {
                PreviewNotify record;
                record.item = item;
                record.state = info.state;
                record.context = &painter;
                record.rect = {rowRect.left(), y + rowHeight, rowRect.right() + 1, y + height};
                record.param = info.param;
                Notify(record.header, RCN_DRAWPREVIEW);
            }
            if (style & RCS_HGRID) {
                painter.setPen(m_colors.grid);
                Line(painter, rowRect.left(), rowRect.bottom(), rowRect.right(), rowRect.bottom());
            }
            const bool cellFocus = (style & RCS_CELLFOCUS) && m_model.GetFocusColumn() >= 0;
            if (focusRows && row == m_model.GetFocusRow() && !cellFocus)
                DrawFocusRect(painter, grid ? rowRect.adjusted(1, 0, -1, -1) : rowRect);
        }
        y += height;
    }
    painter.restore();
    PaintGrid(painter, clip, y);
    if (count == 0) PaintEmptyText(painter);
}

void CReportCtrl::PaintGrid(QPainter& painter, const QRect& clip, int lastBottom) {
    const uint32_t style = m_model.GetStyle();
    if (!(style & (RCS_HGRID | RCS_VGRID))) return;
    const QRect rows = m_layout.RowsRect();
    painter.save();
    painter.setClipRect(rows & clip);
    painter.setPen(m_colors.grid);
    const int left = rows.left() - m_layout.HorizontalPosition();
    const int right = left + m_layout.Extent() - 1;
    const int bottom = (style & RCS_FULLGRID) ? rows.bottom() : lastBottom - 1;
    if (bottom >= rows.top()) {
        Line(painter, left, rows.top(), left, bottom);
        Line(painter, right, rows.top(), right, bottom);
    }
    if ((style & RCS_HGRID) && (style & RCS_FULLGRID)) {
        const int step = std::max(1, m_layout.RowHeight());
        for (int y = lastBottom + step - 1; y <= clip.bottom(); y += step)
            Line(painter, left, y, right, y);
    }
    if (style & RCS_VGRID) {
        int x = left;
        const ReportColumns& columns = m_model.Columns();
        for (const int subItem : columns.Active()) {
            x += columns.Def(subItem).width;
            if (bottom >= rows.top()) Line(painter, x - 1, rows.top(), x - 1, bottom);
        }
    }
    painter.restore();
}

void CReportCtrl::PaintEmptyText(QPainter& painter) {
    const QRect rows = m_layout.RowsRect();
    const int extent = m_layout.Extent();
    const int width = extent > 0 && extent < rows.width() ? extent : rows.width();
    const int left = extent > 0 && extent < rows.width()
                         ? rows.left() - m_layout.HorizontalPosition()
                         : rows.left();
    const QRect rect(left, rows.top() + 2, width, m_layout.RowHeight());
    const QString text = QString::fromUtf8(m_model.GetEmptyText());
    painter.setPen(m_colors.text);
    painter.setFont(m_font);
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     QFontMetrics(m_font).elidedText(text, Qt::ElideRight, rect.width()));
}

void CReportCtrl::DrawFocusRect(QPainter& painter, const QRect& rect) const {
    painter.save();
    QPen pen(m_colors.text);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

void CReportCtrl::DrawItem(QPainter& painter, const QRect& rowRect, int item, int row,
                           const ReportItemInfo& rowInfo, bool odd) {
    const uint32_t style = m_model.GetStyle();
    const bool focused = m_model.HasFocus();
    const QColor base = isEnabled() ? m_colors.window : m_colors.disabled;
    ColorTable& table = m_model.Colors();
    QColor rowColor = base;
    if ((style & RCS_ALTROWCOLOR) && odd && table.Size() > 0)
        rowColor = FromColorRef(table.At(0, 0));
    if ((rowInfo.mask & RIF_BKCOLOR) && rowInfo.bkColor < table.Size())
        rowColor = FromColorRef(table.At(rowInfo.bkColor, 0));
    const bool selected = rowInfo.state & RIS_SELECTED;
    const bool showSelection = selected && (focused || (style & RCS_SHOWSELALWAYS));
    if (showSelection) rowColor = focused ? m_colors.highlight : m_colors.highlightUnfocused;
    if (m_background.isNull() || rowColor != base || item == -1)
        painter.fillRect(rowRect, rowColor);
    painter.setFont(rowInfo.state & RIS_BOLD ? m_boldFont : m_font);

    const QRect clip = painter.clipBoundingRect().toAlignedRect();
    const ReportColumns& columns = m_model.Columns();
    const auto& active = columns.Active();
    const int indent = row >= 0 ? m_layout.IndentPixels(row) : 0;
    const bool grid = style & (RCS_HGRID | RCS_VGRID);
    const bool tree = row >= 0 && (style & (RCS_TREE | RCS_TREEFIXED));
    int x = rowRect.left();
    for (int position = 0; position < static_cast<int>(active.size()); ++position) {
        if (!clip.isEmpty() && x > clip.right()) break;
        const int subItem = active[static_cast<size_t>(position)];
        const int width = columns.Def(subItem).width - (position == 0 ? indent : 0);
        const QRect cell(x, rowRect.top(), std::max(0, width), m_layout.RowHeight());
        x += std::max(0, width);
        if (!clip.isEmpty() && cell.right() < clip.left()) continue;
        char buffer[kTextBuffer];
        ReportItemInfo info;
        info.item = item;
        info.subItem = subItem;
        info.text = buffer;
        info.textMax = kTextBuffer;
        if (!m_model.GetItem(info)) continue;
        QColor textColor = m_colors.text;
        const bool own = info.mask & RIF_TEXTCOLOR;
        if (own) textColor = FromColorRef(table.At(info.textColor, 0));
        if (showSelection && !(own && (style & RCS_SELKEEPCOLORS)))
            textColor = focused ? m_colors.highlightText : m_colors.highlightTextUnfocused;
        const bool focusCell = row == m_model.GetFocusRow() &&
                               position == m_model.GetFocusColumn() &&
                               (row == -1 || (style & RCS_CELLFOCUS));
        if (focusCell) {
            painter.fillRect(cell, m_colors.window);
            textColor = m_colors.text;
        }
        if (tree && position == 0 && m_model.ItemHasChildren(item))
            DrawTreeButton(painter,
                           QRect(cell.left() - m_layout.RowHeight(), cell.top(),
                                 m_layout.RowHeight(), m_layout.RowHeight()),
                           rowInfo.state & RIS_EXPANDED);
        painter.setPen(textColor);
        DrawSubItem(painter, cell.adjusted(ReportLayout::kMargin, 0, -ReportLayout::kMargin, 0),
                    info);
        if (focusCell && focused && !m_editor)
            DrawFocusRect(painter, grid ? cell.adjusted(1, 0, -1, -1) : cell);
    }
    painter.setFont(m_font);
}

void CReportCtrl::DrawSubItem(QPainter& painter, const QRect& rect, ReportItemInfo& info) {
    if (info.state & RIS_CUSTOMDRAW) {
        CustomDrawNotify record;
        record.info = &info;
        record.context = &painter;
        record.rect = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
        if (Notify(record.header, RCN_CUSTOMDRAW)) return;
    }
    QRect left = rect;
    const int image = DrawImage(painter, left, info);
    if ((info.mask & RIF_IMAGE) && image == 0) return;  // no room even for the image
    if (image > 0) left.setLeft(left.left() + image + ReportLayout::kMargin);
    const int check = DrawCheck(painter, left, info);
    if (check > 0) left.setLeft(left.left() + check + ReportLayout::kMargin);
    DrawText(painter, left, info);
}

int CReportCtrl::DrawImage(QPainter& painter, const QRect& rect, const ReportItemInfo& info) {
    const int width = m_images ? m_images->ImageSize().width() : 0;
    if (!(info.mask & RIF_IMAGE)) {
        const int subItem = info.subItem;
        const bool space = m_model.Columns().IsDefined(subItem) &&
                           (m_model.Columns().Def(subItem).format & RCF_IMAGESPACE);
        return space ? width : 0;
    }
    if (rect.width() <= 0 || !m_images) return 0;
    const QSize size = m_images->ImageSize();
    const QPoint at(rect.left(), rect.top() + (rect.height() - size.height()) / 2 + 1);
    const ImageList::DrawStyle drawStyle =
        (info.state & RIS_BLEND25)   ? ImageList::DrawStyle::Blend25
        : (info.state & RIS_BLEND50) ? ImageList::DrawStyle::Blend50
                                     : ImageList::DrawStyle::Normal;
    painter.save();
    painter.setClipRect(QRect(rect.left(), rect.top(), rect.width(), rect.height()),
                        Qt::IntersectClip);
    m_images->Draw(painter, info.image, at, drawStyle);
    if (info.mask & RIF_OVERLAY) m_images->Draw(painter, info.overlay, at, drawStyle);
    painter.restore();
    return width;
}

int CReportCtrl::DrawCheck(QPainter& painter, const QRect& rect, const ReportItemInfo& info) {
    const int side = m_layout.CheckWidth();
    if (!(info.mask & RIF_CHECK)) {
        const bool space = m_model.Columns().IsDefined(info.subItem) &&
                           (m_model.Columns().Def(info.subItem).format & RCF_CHECKSPACE);
        return space ? side : 0;
    }
    if (side >= rect.width()) return 0;
    if (m_checks) {
        const QSize size = m_checks->ImageSize();
        m_checks->Draw(painter, info.check,
                       QPoint(rect.left(), rect.top() + (rect.height() - size.height()) / 2 + 1));
        return side;
    }
    const QRect box(rect.left(), rect.top() + (rect.height() - side) / 2, side, side);
    const int state = info.check >= 0 && info.check <= 7 ? info.check : 0;
    const bool radio = state >= 4;
    const bool checked = state & 1;
    const bool crossed = state & 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, radio);
    painter.setPen(m_colors.treeFrame);
    painter.setBrush(m_colors.window);
    const QRectF frame = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    if (radio)
        painter.drawEllipse(frame);
    else
        painter.drawRect(frame);
    painter.setBrush(m_colors.text);
    painter.setPen(Qt::NoPen);
    if (checked && radio) {
        painter.drawEllipse(QRectF(box).adjusted(side / 3.0, side / 3.0, -side / 3.0, -side / 3.0));
    } else if (checked) {
        QPen tick(m_colors.text, std::max(1.5, side / 8.0));
        painter.setPen(tick);
        painter.setRenderHint(QPainter::Antialiasing, true);
        const QRectF in = QRectF(box).adjusted(side / 5.0, side / 5.0, -side / 5.0, -side / 5.0);
        painter.drawPolyline(QPolygonF({QPointF(in.left(), in.center().y()),
                                        QPointF(in.left() + in.width() / 3, in.bottom()),
                                        QPointF(in.right(), in.top())}));
    }
    if (crossed) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(255, 0, 0), 2));
        const QRect in = box.adjusted(radio ? 2 : 1, 1, radio ? 0 : -1, -1);
        painter.drawLine(in.topLeft(), in.bottomRight());
        painter.drawLine(in.bottomLeft(), in.topRight());
    }
    painter.restore();
    return side;
}

int CReportCtrl::DrawText(QPainter& painter, const QRect& rect, const ReportItemInfo& info) {
    if (!(info.mask & RIF_TEXT) || rect.width() <= 0) return 0;
    const uint32_t format =
        m_model.Columns().IsDefined(info.subItem) ? m_model.Columns().Def(info.subItem).format : 0;
    Qt::Alignment align = Qt::AlignLeft;
    switch (format & HDF_JUSTIFYMASK) {
        case HDF_RIGHT:
            align = Qt::AlignRight;
            break;
        case HDF_CENTER:
            align = Qt::AlignHCenter;
            break;
        case HDF_JUSTIFYMASK:
            return 0;
        default:
            break;
    }
    const QString text = QString::fromUtf8(info.text);
    const QFontMetricsF metrics(painter.font());
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    const int textWidth = qCeil(metrics.horizontalAdvance(text));
    return std::max(0, std::min(textWidth, rect.width()));
}

void CReportCtrl::DrawTreeButton(QPainter& painter, const QRect& rect, bool expanded) {
    const int side = rect.height();
    const QRect box(rect.left() + (side - 9) / 2, rect.top() + (side - 9) / 2, 9, 9);
    painter.save();
    painter.fillRect(box, m_colors.window);
    painter.setPen(m_colors.treeFrame);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(m_colors.text);
    const QPoint c = box.center();
    Line(painter, c.x() - 2, c.y(), c.x() + 2, c.y());
    if (!expanded) Line(painter, c.x(), c.y() - 2, c.x(), c.y() + 2);
    painter.restore();
}

}  // namespace pagelark
