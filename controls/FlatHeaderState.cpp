#include "controls/FlatHeaderState.h"

#include <algorithm>
#include <cstdlib>

namespace pagelark {

// --- items ---

int FlatHeaderState::InsertItem(int index, const HeaderItem& item) {
    index = std::clamp(index, 0, GetItemCount());
    for (int& i : m_order)
        if (i >= index) ++i;
    const int position = std::clamp(item.order, 0, static_cast<int>(m_order.size()));
    m_order.insert(m_order.begin() + position, index);
    // The extra record goes in at the same index, so the two stay in step.
    m_entries.insert(m_entries.begin() + index, Entry{item, HeaderItemExtra{}});
    m_hot = Hit{};
    return index;
}

bool FlatHeaderState::DeleteItem(int index) {
    if (!Valid(index)) return false;
    m_entries.erase(m_entries.begin() + index);
    std::erase(m_order, index);
    for (int& i : m_order)
        if (i > index) --i;
    m_hot = Hit{};
    return true;
}

bool FlatHeaderState::GetItem(int index, HeaderItem& item) const {
    if (!Valid(index)) return false;
    item = m_entries[static_cast<size_t>(index)].item;
    item.order = PositionOf(index);
    return true;
}

bool FlatHeaderState::SetItemWidth(int index, int width) {
    if (!Valid(index)) return false;
    int& stored = m_entries[static_cast<size_t>(index)].item.width;
    width = std::max(width, 0);
    if (stored == width) return true;
    stored = width;
    Changed(index, false, true);
    return true;
}

bool FlatHeaderState::SetItemFormat(int index, uint32_t format) {
    if (!Valid(index)) return false;
    uint32_t& stored = m_entries[static_cast<size_t>(index)].item.format;
    if (stored == format) return true;
    stored = format;
    Changed(index, true, false);
    return true;
}

bool FlatHeaderState::SetItemData(int index, int data) {
    if (!Valid(index)) return false;
    m_entries[static_cast<size_t>(index)].item.data = data;
    return true;
}

bool FlatHeaderState::SetOrderArray(const std::vector<int>& order) {
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i)) return false;
    if (sorted.size() != m_entries.size()) return false;
    m_order = order;
    return true;
}

bool FlatHeaderState::GetItemExtra(int index, HeaderItemExtra& extra) const {
    if (!Valid(index)) return false;
    const Entry& entry = m_entries[static_cast<size_t>(index)];
    extra = entry.extra;
    if (extra.flags & HeaderItemExtra::FixedWidth)
        extra.minWidth = extra.maxWidth = entry.item.width;
    return true;
}

bool FlatHeaderState::SetItemExtra(int index, const HeaderItemExtra& extra) {
    if (!Valid(index)) return false;
    m_entries[static_cast<size_t>(index)].extra = extra;
    int width = m_entries[static_cast<size_t>(index)].item.width;
    if (extra.flags & HeaderItemExtra::FitToContent)
        width = ContentWidth(index, (extra.flags & HeaderItemExtra::ContentWithArrow) != 0);
    if (!(extra.flags & HeaderItemExtra::FixedWidth)) {
        width = std::max(width, extra.minWidth);
        if (extra.maxWidth > 0) width = std::min(width, extra.maxWidth);
    }
    return SetItemWidth(index, width);
}

void FlatHeaderState::SetSortColumn(int index, bool ascending) {
    m_sortColumn = index;
    m_sortAscending = ascending;
}

int FlatHeaderState::GetSortColumn(bool* ascending) const {
    if (ascending) *ascending = m_sortAscending;
    return m_sortColumn;
}

// --- properties ---

bool FlatHeaderState::SetProperty(int id, std::intptr_t value) {
    switch (id) {
        case PropSpacing:
            m_metrics.spacing = static_cast<int>(value);
            return true;
        case PropArrowSize:
            m_metrics.arrow =
                QSize(static_cast<int>(value & 0xFFFF), static_cast<int>((value >> 16) & 0xFFFF));
            return true;
        case PropExtendRight:
            m_extendRight = value != 0;
            return true;
        case PropDropCursor:
            m_dropCursorId = static_cast<int>(value);
            return true;
        case PropDropTarget:
            return true;
        case PropTooltips:
            m_tooltips = value != 0;
            return true;
        case PropAutoFit:
            m_autoFit = value != 0;
            return true;
        default:
            return false;
    }
}

void FlatHeaderState::SetImages(const QSize& size, int count) {
    m_metrics.image = count > 0 ? size : QSize();
    m_metrics.imageCount = count;
}

// --- widths ---

int FlatHeaderState::EffectiveMax(const HeaderItemExtra& extra) {
    return extra.maxWidth > 0 ? extra.maxWidth : kUnlimitedWidth;
}

int FlatHeaderState::ContentWidth(int index, bool withArrow) const {
    if (!Valid(index)) return 0;
    const HeaderItem& item = m_entries[static_cast<size_t>(index)].item;
    const int spacing = m_metrics.spacing;
    int width = spacing;
    if ((item.format & kHeaderFormatImage) && m_metrics.imageCount > 0)
        width += spacing + m_metrics.image.width();
    if (withArrow) width += spacing + m_metrics.arrow.width();
    if (!item.text.empty() && m_textWidth) width += m_textWidth(item.text) + spacing;
    return width;
}

void FlatHeaderState::AutoFit(int pinned, int parentWidth) {
    const int count = GetItemCount();
    if (count == 0) return;
    int pinnedPosition = Valid(pinned) ? PositionOf(pinned) : -1;
    if (pinnedPosition == count - 1) pinnedPosition = -1;

    const std::vector<int> items(m_order.begin() + (pinnedPosition + 1), m_order.end());
    std::vector<int> widths, mins, maxes;
    long long total = 0;
    int sumMin = 0;
    for (const int index : items) {
        const Entry& entry = m_entries[static_cast<size_t>(index)];
        widths.push_back(entry.item.width);
        mins.push_back(entry.extra.minWidth);
        maxes.push_back(EffectiveMax(entry.extra));
        total += entry.item.width;
        sumMin += entry.extra.minWidth;
    }
    if (parentWidth <= 0) return;
    long long target = std::max(parentWidth, sumMin);
    if (pinnedPosition >= 0) {
        const QRect rect = ItemRect(pinned);
        target -= rect.left() + rect.width();
    }
    if (total <= 0) total = 1;

    long long sum = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        long long width = widths[i] * target / total;
        width = std::min<long long>(std::max<long long>(width, mins[i]), maxes[i]);
        widths[i] = static_cast<int>(width);
        sum += width;
    }
    // One pixel at a time, round robin. It ends when a whole round changes
    // nothing: stopping at the first item already at its limit would leave the
    // sum short of the target while other items could still give or take.
    size_t cursor = 0;
    size_t idleSteps = 0;
    while (sum != target && idleSteps < items.size()) {
        int& width = widths[cursor];
        if (sum < target && width < maxes[cursor]) {
            ++width;
            ++sum;
            idleSteps = 0;
        } else if (sum > target && width > mins[cursor]) {
            --width;
            --sum;
            idleSteps = 0;
        } else {
            ++idleSteps;
        }
        cursor = (cursor + 1) % items.size();
    }

    m_autoFitting = true;
    for (size_t i = 0; i < items.size(); ++i)
        SetItemWidth(items[i], widths[i]);
    m_autoFitting = false;
}

// --- geometry ---

int FlatHeaderState::PositionOf(int index) const {
    const auto at = std::find(m_order.begin(), m_order.end(), index);
    return at == m_order.end() ? -1 : static_cast<int>(at - m_order.begin());
}

QRect FlatHeaderState::ItemRect(int index) const {
    if (!Valid(index)) return QRect();
    int left = 0;
    for (const int i : m_order) {
        const int width = m_entries[static_cast<size_t>(i)].item.width;
        if (i == index) return QRect(left, 0, width, m_size.height());
        left += width;
    }
    return QRect();
}

int FlatHeaderState::TotalWidth() const {
    int total = 0;
    for (const Entry& entry : m_entries)
        total += entry.item.width;
    return total;
}

FlatHeaderState::Hit FlatHeaderState::HitTest(const QPoint& point) const {
    Hit hit;
    if (point.y() < 0 || point.y() >= m_size.height()) return hit;
    const int x = point.x();
    int left = 0;
    for (int position = 0; position < static_cast<int>(m_order.size()); ++position) {
        const int index = m_order[static_cast<size_t>(position)];
        const int right = left + m_entries[static_cast<size_t>(index)].item.width;
        if (x >= right - kDividerGrip && x < right + kDividerGrip) {
            // Right of an edge shared with empty items, the last of them is
            // grabbed, so a column narrowed to nothing can be widened again.
            if (hit.area != Area::Divider || x >= right) hit = {index, position, Area::Divider};
        } else if (hit.area == Area::Nowhere && x >= left && x < right) {
            hit = {index, position, Area::Item};
        }
        left = right;
    }
    return hit;
}

HeaderItemLayout FlatHeaderState::LayoutItem(const HeaderItem& item, const QRect& span,
                                             bool sorted) const {
    const int extent = item.text.empty() || !m_textWidth ? 0 : m_textWidth(item.text);
    return LayoutHeaderItem(item, span, sorted, extent, m_metrics);
}

// --- mouse ---

bool FlatHeaderState::ShowsResizeCursor() const {
    return m_hot.area == Area::Divider && Valid(m_hot.item) &&
           !(m_entries[static_cast<size_t>(m_hot.item)].extra.flags & HeaderItemExtra::FixedWidth);
}

FlatHeaderState::PressResult FlatHeaderState::PressLeft(const QPoint& point) {
    m_leftHeld = true;
    m_pressPoint = point;
    m_hot = HitTest(point);
    if (m_hot.item < 0) return PressResult::None;
    m_pressed = m_entries[static_cast<size_t>(m_hot.item)];
    m_pressed.item.order = m_hot.position;
    m_pressedIndex = m_hot.item;
    m_pressedPosition = m_hot.position;
    if (m_hot.area == Area::Item) {
        m_mouse = Mouse::Pressed;
        return PressResult::OnItem;
    }
    const HeaderItemExtra& extra = m_pressed.extra;
    if (extra.flags & HeaderItemExtra::FixedWidth) return PressResult::Swallowed;

    const QRect rect = ItemRect(m_hot.item);
    int minimum = std::max(extra.minWidth, 0);
    int maximum = EffectiveMax(extra);
    if (m_autoFit && m_hot.position + 1 < GetItemCount()) {
        // The items after it must still fit between their limits in the client width.
        int followingMin = 0;
        int followingMax = 0;
        for (size_t p = static_cast<size_t>(m_hot.position) + 1; p < m_order.size(); ++p) {
            const HeaderItemExtra& next = m_entries[static_cast<size_t>(m_order[p])].extra;
            followingMin += next.minWidth;
            followingMax += EffectiveMax(next);
        }
        maximum = std::min(maximum, m_size.width() - followingMin - rect.left());
        minimum = std::max(minimum, m_size.width() - followingMax - rect.left());
    }
    m_resizeMin = minimum;
    m_resizeMax = std::max(maximum, minimum);
    m_pressWidth = rect.width();
    m_mouse = Mouse::Resizing;
    return PressResult::Resizing;
}

FlatHeaderState::MoveResult FlatHeaderState::MoveTo(const QPoint& point, int dragDistance,
                                                    bool dragDropAllowed) {
    switch (m_mouse) {
        case Mouse::Idle:
            // While a button pressed elsewhere is held, nothing under it lights up.
            if (m_leftHeld) return MoveResult::None;
            m_hot = HitTest(point);
            return MoveResult::Hovered;
        case Mouse::Resizing: {
            const int width = m_pressWidth + point.x() - m_pressPoint.x();
            SetItemWidth(m_pressedIndex, std::clamp(width, m_resizeMin, m_resizeMax));
            return MoveResult::Resized;
        }
        case Mouse::Pressed: {
            if (!dragDropAllowed) return MoveResult::None;
            const QPoint moved = point - m_pressPoint;
            if (std::abs(moved.x()) <= dragDistance && std::abs(moved.y()) <= dragDistance)
                return MoveResult::None;
            return MoveResult::BeginDrag;
        }
        case Mouse::Dragging:
            if (!m_dragWindow) return MoveResult::None;
            TrackDrop(point);
            return MoveResult::DragMoved;
    }
    return MoveResult::None;
}

void FlatHeaderState::StartDrag(bool withWindow, const QRect& dropArea, const QPoint& point) {
    m_mouse = Mouse::Dragging;
    m_dragWindow = withWindow;
    m_dropArea = dropArea;
    m_dropIndex = -1;
    if (withWindow) TrackDrop(point);
}

int FlatHeaderState::DropIndexAt(const QPoint& point) const {
    const Hit hit = HitTest(point);
    if (hit.item < 0) return -1;
    const QRect rect = ItemRect(hit.item);
    return hit.position + (point.x() > rect.left() + rect.width() / 2 ? 1 : 0);
}

void FlatHeaderState::TrackDrop(const QPoint& point) {
    int index = DropIndexAt(point);
    if (index >= 0) {
        m_dropState = 0;
        m_cursor = DragCursor::Arrow;
    } else if (m_pressed.extra.flags & HeaderItemExtra::KeepOnDrag) {
        m_dropState = 2;
        m_cursor = DragCursor::NoEntry;
    } else if (m_dropArea.contains(point)) {
        m_dropState = 1;
        m_cursor = DragCursor::Arrow;
    } else {
        m_dropState = -1;
        m_cursor = DragCursor::Drop;
    }
    // Before itself or just after itself the item would not move.
    if (index == m_pressedPosition || index == m_pressedPosition + 1) index = -1;
    m_dropIndex = index;
}

FlatHeaderState::ReleaseResult FlatHeaderState::ReleaseLeft(const QPoint& point) {
    m_leftHeld = false;
    switch (m_mouse) {
        case Mouse::Idle:
            return ReleaseResult::None;
        case Mouse::Resizing:
            m_mouse = Mouse::Idle;
            return ReleaseResult::EndResize;
        case Mouse::Pressed:
            m_mouse = Mouse::Idle;
            return HitTest(point).item == m_pressedIndex ? ReleaseResult::Click
                                                         : ReleaseResult::None;
        case Mouse::Dragging:
            return ReleaseResult::EndDrag;
    }
    return ReleaseResult::None;
}

void FlatHeaderState::FinishDrag(bool vetoed) {
    if (!vetoed && m_dropIndex >= 0)
        m_order = MovedOrder(std::move(m_order), m_pressedPosition, m_dropIndex);
    Cancel();
}

void FlatHeaderState::Cancel() {
    m_mouse = Mouse::Idle;
    m_leftHeld = false;
    m_dragWindow = false;
    m_dropIndex = -1;
}

bool FlatHeaderState::LooksPressed(int index) const {
    return m_leftHeld && index == m_hot.item && m_hot.area == Area::Item;
}

std::vector<int> FlatHeaderState::MovedOrder(std::vector<int> order, int from, int dropIndex) {
    const int count = static_cast<int>(order.size());
    if (from < 0 || from >= count || dropIndex < 0 || dropIndex > count) return order;
    const int item = order[static_cast<size_t>(from)];
    order.erase(order.begin() + from);
    // Moving right, the gap it leaves shifts the target one to the left.
    const int at = dropIndex > from ? dropIndex - 1 : dropIndex;
    order.insert(order.begin() + at, item);
    return order;
}

void FlatHeaderState::Changed(int index, bool format, bool width) {
    if (m_changed) m_changed(index, format, width);
}

}  // namespace pagelark
