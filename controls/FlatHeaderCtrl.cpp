#include "controls/FlatHeaderCtrl.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QtMath>

#include <algorithm>
#include <cstdlib>

#include "controls/FlatHeaderOwner.h"
#include "controls/HeaderDragWindow.h"
#include "controls/HeaderDropMarker.h"
#include "controls/platform/ImageList.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

constexpr int kBorderWidth = 1;  // the system's thin border, twice for ExtendRight

Qt::Alignment TextAlignment(uint32_t justify) {
    if (justify == kHeaderJustifyRight) return Qt::AlignRight;
    if (justify == kHeaderJustifyCenter) return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

// A one-pixel line that leaves out its end point, so that lines drawn one
// after another meet without a doubled pixel.
void LineTo(QPainter& painter, const QPoint& from, const QPoint& to, const QColor& colour) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = from;
    while (at != to) {
        painter.fillRect(QRect(at, QSize(1, 1)), colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
    }
}

}  // namespace

CFlatHeaderCtrl::CFlatHeaderCtrl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Rounded up, so that a text given exactly its width is not cut short.
    m_state.SetTextWidth([this](const std::string& text) {
        return qCeil(QFontMetricsF(font()).horizontalAdvance(QString::fromUtf8(text)));
    });
    m_state.SetChangeListener(
        [this](int index, bool format, bool width) { OnItemChanged(index, format, width); });
}

CFlatHeaderCtrl::~CFlatHeaderCtrl() {
    RestoreCursor();
}

// --- items ---

int CFlatHeaderCtrl::GetItemCount() const {
    return m_state.GetItemCount();
}

int CFlatHeaderCtrl::InsertItem(int index, const HeaderItem& item) {
    const int inserted = m_state.InsertItem(index, item);
    update();
    return inserted;
}

bool CFlatHeaderCtrl::DeleteItem(int index) {
    if (!m_state.DeleteItem(index)) return false;
    update();
    return true;
}

bool CFlatHeaderCtrl::GetItem(int index, HeaderItem& item) const {
    return m_state.GetItem(index, item);
}

bool CFlatHeaderCtrl::SetItemWidth(int index, int width) {
    return m_state.SetItemWidth(index, width);
}

bool CFlatHeaderCtrl::SetItemFormat(int index, uint32_t format) {
    return m_state.SetItemFormat(index, format);
}

bool CFlatHeaderCtrl::SetItemData(int index, int data) {
    return m_state.SetItemData(index, data);
}

std::vector<int> CFlatHeaderCtrl::GetOrderArray() const {
    return m_state.GetOrderArray();
}

bool CFlatHeaderCtrl::SetOrderArray(const std::vector<int>& order) {
    if (!m_state.SetOrderArray(order)) return false;
    update();
    return true;
}

bool CFlatHeaderCtrl::GetItemExtra(int index, HeaderItemExtra& extra) const {
    return m_state.GetItemExtra(index, extra);
}

bool CFlatHeaderCtrl::SetItemExtra(int index, const HeaderItemExtra& extra) {
    return m_state.SetItemExtra(index, extra);
}

void CFlatHeaderCtrl::SetSortColumn(int index, bool ascending) {
    m_state.SetSortColumn(index, ascending);
    update();
}

int CFlatHeaderCtrl::GetSortColumn(bool* ascending) const {
    return m_state.GetSortColumn(ascending);
}

void CFlatHeaderCtrl::OnItemChanged(int index, bool format, bool width) {
    update();
    if (m_owner) m_owner->OnHeaderItemChanged(index, format, width);
}

// --- properties and widths ---

bool CFlatHeaderCtrl::SetProperty(int id, std::intptr_t value) {
    if (!m_state.SetProperty(id, value)) return false;
    if (id == FlatHeaderState::PropDropTarget) m_dropTarget = reinterpret_cast<QWidget*>(value);
    if (id == FlatHeaderState::PropAutoFit && value == 1) AutoFit();
    update();
    return true;
}

int CFlatHeaderCtrl::ContentWidth(int index, bool withArrow) const {
    return m_state.ContentWidth(index, withArrow);
}

void CFlatHeaderCtrl::AutoFit(int pinned) {
    const QWidget* parent = parentWidget();
    m_state.AutoFit(pinned, parent ? parent->contentsRect().width() : 0);
}

void CFlatHeaderCtrl::SetImageList(const ImageList* images) {
    m_images = images;
    const int count = images ? images->GetImageCount() : 0;
    m_state.SetImages(count > 0 ? images->ImageSize() : QSize(), count);
    updateGeometry();
    update();
}

QRect CFlatHeaderCtrl::Layout(const QRect& area) {
    const int height = m_heightOverride > 0 ? m_heightOverride : sizeHint().height();
    const int wider = m_state.ExtendsRight() ? 2 * kBorderWidth : 0;
    setGeometry(area.left(), area.top(), area.width() + wider, height);
    m_state.SetSize(size());
    if (m_state.AutoFitOn() && m_state.MouseState() != FlatHeaderState::Mouse::Resizing) AutoFit();
    return area.adjusted(0, height, 0, 0);
}

QSize CFlatHeaderCtrl::sizeHint() const {
    const int content = std::max(fontMetrics().height(), m_state.Metrics().image.height());
    return QSize(m_state.TotalWidth(), content + 6);
}

void CFlatHeaderCtrl::resizeEvent(QResizeEvent* event) {
    m_state.SetSize(size());
    QWidget::resizeEvent(event);
}

// --- tooltips ---

CFlatHeaderCtrl::Tool CFlatHeaderCtrl::ToolAt(const QPoint& point) const {
    if (!m_state.TooltipsOn()) return {};
    const FlatHeaderState::Hit hit = m_state.HitTest(point);
    HeaderItemExtra extra;
    if (hit.item < 0 || !m_state.GetItemExtra(hit.item, extra)) return {};
    return {TipToolId, m_state.ItemRect(hit.item), extra.tipText};
}

bool CFlatHeaderCtrl::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const Tool tool = ToolAt(help->pos());
    // The whole tip is given; no fixed-size buffer stands in the way here.
    if (tool.id == TipToolId && !tool.text.empty())
        QToolTip::showText(help->globalPos(), QString::fromUtf8(tool.text), this, tool.rect);
    else
        QToolTip::hideText();
    return true;
}

// --- painting ---

void CFlatHeaderCtrl::Draw3dFrame(QPainter& painter, const QRect& rect, const QColor& topLeft,
                                  const QColor& bottomRight) {
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(QRect(rect.left(), rect.top(), w - 1, 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, h - 1), topLeft);
    painter.fillRect(QRect(rect.left() + w - 1, rect.top(), 1, h), bottomRight);
    painter.fillRect(QRect(rect.left(), rect.top() + h - 1, w, 1), bottomRight);
}

void CFlatHeaderCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(event->rect(), colours.color(QPalette::Button));
    painter.setFont(font());

    bool ascending = false;
    const int sortColumn = m_state.GetSortColumn(&ascending);
    const std::vector<int>& order = m_state.GetOrderArray();
    const int spacing = m_state.Metrics().spacing;
    for (size_t position = 0; position < order.size(); ++position) {
        const int index = order[position];
        const QRect rect = m_state.ItemRect(index);
        HeaderItem item;
        m_state.GetItem(index, item);
        painter.setPen(colours.color(QPalette::ButtonText));
        if (item.format & kHeaderFormatOwnerDraw) {
            DrawOwnerItem(painter, rect, index);
        } else {
            DrawItem(painter, rect.adjusted(spacing, 0, -spacing, 0), item, index == sortColumn,
                     ascending);
            if (m_state.LooksPressed(index)) {
                painter.setCompositionMode(QPainter::RasterOp_NotDestination);
                painter.fillRect(rect, Qt::black);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            }
        }
        if (position + 1 < order.size()) {
            const int right = rect.left() + rect.width();
            const int lineHeight = rect.height() - 4;
            painter.fillRect(QRect(right - 1, rect.top() + 2, 1, lineHeight),
                             colours.color(QPalette::Dark));
            painter.fillRect(QRect(right, rect.top() + 2, 1, lineHeight),
                             colours.color(QPalette::Light));
        }
    }
    const int total = m_state.TotalWidth();
    if (total > 0)
        Draw3dFrame(painter, QRect(0, 0, total, height()), colours.color(QPalette::Light),
                    colours.color(QPalette::Dark));
}

void CFlatHeaderCtrl::DrawItem(QPainter& painter, const QRect& span, const HeaderItem& item,
                               bool sorted, bool ascending) const {
    const HeaderItemLayout layout = m_state.LayoutItem(item, span, sorted);
    if (layout.drawsNothing) return;
    if (!layout.image.isEmpty() && m_images) {
        painter.save();
        painter.setClipRect(span, Qt::IntersectClip);
        m_images->Draw(painter, item.image, layout.image.topLeft());
        painter.restore();
    }
    if (!layout.text.isEmpty()) {
        const QString text = painter.fontMetrics().elidedText(QString::fromUtf8(item.text),
                                                              Qt::ElideRight, layout.text.width());
        painter.drawText(layout.text,
                         TextAlignment(layout.textJustify) | Qt::AlignVCenter | Qt::TextSingleLine,
                         text);
    }
    if (layout.drawArrow) DrawSortArrow(painter, layout.arrowOrigin, ascending);
}

void CFlatHeaderCtrl::DrawOwnerItem(QPainter&, const QRect&, int) const {}

void CFlatHeaderCtrl::DrawSortArrow(QPainter& painter, const QPoint& origin, bool ascending) const {
    const int w = m_state.Metrics().arrow.width();
    const int h = m_state.Metrics().arrow.height();
    const int x0 = origin.x();
    const int y0 = origin.y();
    const int middle = (w - 1) / 2;
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    if (ascending) {
        LineTo(painter, {x0 + middle + 1, y0}, {x0 + w - 1, y0 + h - 1}, light);
        LineTo(painter, {x0 + w - 1, y0 + h - 1}, {x0, y0 + h - 1}, light);
        LineTo(painter, {x0 + middle, y0}, {x0, y0 + h - 1}, dark);
    } else {
        LineTo(painter, {x0 + middle + 1, y0 + h - 1}, {x0 + w - 1, y0}, light);
        LineTo(painter, {x0 + middle, y0 + h - 1}, {x0, y0}, dark);
        LineTo(painter, {x0, y0}, {x0 + w, y0}, dark);
    }
}

// --- mouse ---

void CFlatHeaderCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        // The press is the header's either way: passed up, it would reach the
        // list under the header as a right click on no row.
        if (m_owner) m_owner->OnHeaderRightClick(m_state.HitTest(pos).item);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (m_state.PressLeft(pos) == FlatHeaderState::PressResult::OnItem)
        update(m_state.ItemRect(m_state.PressedIndex()));
}

void CFlatHeaderCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    switch (m_state.MoveTo(pos, QApplication::startDragDistance(), m_dragDrop)) {
        case FlatHeaderState::MoveResult::Hovered:
            setCursor(m_state.ShowsResizeCursor() ? Qt::SplitHCursor : Qt::ArrowCursor);
            break;
        case FlatHeaderState::MoveResult::BeginDrag:
            BeginDrag(pos);
            break;
        case FlatHeaderState::MoveResult::DragMoved:
            UpdateDrag(pos);
            break;
        case FlatHeaderState::MoveResult::Resized:
        case FlatHeaderState::MoveResult::None:
            break;
    }
}

void CFlatHeaderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int item = m_state.PressedIndex();
    switch (m_state.ReleaseLeft(event->position().toPoint())) {
        case FlatHeaderState::ReleaseResult::Click:
            update(m_state.ItemRect(item));
            if (m_owner) m_owner->OnHeaderItemClick(item);
            break;
        case FlatHeaderState::ReleaseResult::EndDrag:
            EndDrag(true);
            break;
        case FlatHeaderState::ReleaseResult::EndResize:
            if (m_state.AutoFitOn()) AutoFit(item);
            break;
        case FlatHeaderState::ReleaseResult::None:
            update();
            break;
    }
}

void CFlatHeaderCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const FlatHeaderState::Hit hit = m_state.HitTest(event->position().toPoint());
    if (event->button() != Qt::LeftButton || hit.area != FlatHeaderState::Area::Divider) {
        mousePressEvent(event);
        return;
    }
    HeaderItemExtra extra;
    m_state.GetItemExtra(hit.item, extra);
    // A fixed column is not fitted to its content either.
    if (extra.flags & HeaderItemExtra::FixedWidth) return;
    if (m_owner) m_owner->OnHeaderDividerDblClick(hit.item);
}

void CFlatHeaderCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) CancelMode();
    if (event->type() == QEvent::FontChange) updateGeometry();
    QWidget::changeEvent(event);
}

void CFlatHeaderCtrl::CancelMode() {
    if (m_state.MouseState() == FlatHeaderState::Mouse::Dragging) {
        EndDrag(false);
        return;
    }
    m_state.Cancel();
    update();
}

// --- dragging ---

void CFlatHeaderCtrl::BeginDrag(const QPoint& pos) {
    const int item = m_state.PressedIndex();
    const bool vetoed = m_owner && m_owner->OnHeaderBeginDrag(item, m_state.PressedItem());
    m_state.StartDrag(!vetoed, vetoed ? QRect() : DropTargetArea(), pos);
    if (vetoed) return;
    bool ascending = false;
    const bool sorted = m_state.GetSortColumn(&ascending) == item;
    const QRect rect = m_state.ItemRect(item);
    m_dragWindow =
        std::make_unique<HeaderDragWindow>(*this, m_state.PressedItem(), sorted, ascending,
                                           QRect(mapToGlobal(rect.topLeft()), rect.size()));
    UpdateDrag(pos);
}

void CFlatHeaderCtrl::UpdateDrag(const QPoint& pos) {
    if (!m_dragWindow) return;
    m_dragWindow->CentreOn(mapToGlobal(pos));
    SetDragCursor(DragCursor());
    if (m_state.DropIndex() != m_markerIndex) SetHotDivider(m_state.DropIndex());
}

void CFlatHeaderCtrl::EndDrag(bool notify) {
    const int item = m_state.PressedIndex();
    const bool vetoed =
        !notify || (m_owner && m_owner->OnHeaderEndDrag(item, m_state.PressedItem()));
    m_state.FinishDrag(vetoed);
    m_dragWindow.reset();
    RestoreCursor();
    SetHotDivider(-1);
    update();
}

QRect CFlatHeaderCtrl::DropTargetArea() const {
    const QWidget* target = m_dropTarget;
    if (!target) return {};
    if (target->parentWidget()) target = target->parentWidget();
    if (!target->isVisible()) return {};
    return QRect(mapFromGlobal(target->mapToGlobal(QPoint(0, 0))), target->size());
}

QCursor CFlatHeaderCtrl::DragCursor() const {
    switch (m_state.Cursor()) {
        case FlatHeaderState::DragCursor::Arrow:
            return Qt::ArrowCursor;
        case FlatHeaderState::DragCursor::NoEntry:
            return Qt::ForbiddenCursor;
        case FlatHeaderState::DragCursor::Drop:
            break;
    }
    const QIcon icon = m_state.DropCursorId() ? LoadIcon(m_state.DropCursorId()) : QIcon();
    if (icon.isNull()) return Qt::ForbiddenCursor;
    return QCursor(icon.pixmap(32, 32));
}

void CFlatHeaderCtrl::SetDragCursor(const QCursor& cursor) {
    if (m_cursorOverridden) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        m_cursorOverridden = true;
    }
}

void CFlatHeaderCtrl::RestoreCursor() {
    if (!m_cursorOverridden) return;
    QGuiApplication::restoreOverrideCursor();
    m_cursorOverridden = false;
}

int CFlatHeaderCtrl::SetHotDivider(int index) {
    const int count = GetItemCount();
    if (index < 0 || index > count + 1) {
        m_marker.reset();
        m_markerIndex = -1;
        return index;
    }
    if (!m_marker)
        m_marker = std::make_unique<HeaderDropMarker>(this, height() + 20, m_markerColour);
    const std::vector<int>& order = m_state.GetOrderArray();
    int x = 0;
    if (index < count) {
        x = m_state.ItemRect(order[static_cast<size_t>(index)]).left() - 1;
    } else if (count > 0) {
        const QRect last = m_state.ItemRect(order.back());
        x = last.left() + last.width();
    }
    const QPoint centre = mapToGlobal(QPoint(x, height() / 2));
    m_marker->move(centre.x() - HeaderDropMarker::kWidth / 2, centre.y() - m_marker->height() / 2);
    m_markerIndex = index;
    m_marker->show();
    return index;
}

int CFlatHeaderCtrl::SetHotDivider(const QPoint& globalPos) {
    return SetHotDivider(m_state.DropIndexAt(mapFromGlobal(globalPos)));
}

}  // namespace pagelark
