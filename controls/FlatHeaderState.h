#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ReportHeader.h"
#include "controls/HeaderItemLayout.h"

// Everything the flat header knows, without a window: the items with their
// extra records, the display order, the sort mark, the properties, the width
// distribution, the geometry and the mouse state of a press, a resize or a
// drag. The widget paints from it and turns its input into calls on it.
namespace pagelark {

class FlatHeaderState {
  public:
    // SetProperty ids.
    enum Property {
        PropSpacing = 1,
        PropArrowSize = 2,    // low 16 bits width, high 16 bits height
        PropExtendRight = 3,  // each layout makes the header wider by two border widths
        PropDropCursor = 4,   // icon resource shown for a drop outside; 0 the no-entry cursor
        PropDropTarget = 5,   // a QWidget* whose window is the drop target area (widget only)
        PropTooltips = 6,
        PropAutoFit = 7,  // 1: widths follow the parent's width
    };

    static constexpr int kUnlimitedWidth = 0x4000;
    // Pixels on either side of an item's right edge that grab its divider.
    static constexpr int kDividerGrip = 4;

    enum class Area { Nowhere, Item, Divider };
    struct Hit {
        int item = -1;
        int position = -1;  // display position of item
        Area area = Area::Nowhere;
    };

    // One enum rather than flags that could disagree.
    enum class Mouse { Idle, Pressed, Resizing, Dragging };
    enum class DragCursor { Arrow, NoEntry, Drop };

    enum class PressResult { None, OnItem, Swallowed, Resizing };
    enum class MoveResult { None, Hovered, Resized, BeginDrag, DragMoved };
    enum class ReleaseResult { None, Click, EndDrag, EndResize };

    // Width of a text in the header's font.
    using TextWidth = std::function<int(const std::string&)>;
    // An item's width or format changed.
    using ChangeListener = std::function<void(int index, bool format, bool width)>;

    void SetTextWidth(TextWidth measure) { m_textWidth = std::move(measure); }
    void SetChangeListener(ChangeListener listener) { m_changed = std::move(listener); }

    // --- items; indexes are insertion order, positions display order ---
    int GetItemCount() const { return static_cast<int>(m_entries.size()); }
    // Inserts at index (clamped) shown at display position item.order (clamped).
    int InsertItem(int index, const HeaderItem& item);
    bool DeleteItem(int index);
    // item.order is filled with the display position.
    bool GetItem(int index, HeaderItem& item) const;
    bool SetItemWidth(int index, int width);
    bool SetItemFormat(int index, uint32_t format);
    bool SetItemData(int index, int data);
    const std::vector<int>& GetOrderArray() const { return m_order; }
    // False unless order holds every item index once.
    bool SetOrderArray(const std::vector<int>& order);
    // A FixedWidth item reports its current width as both limits.
    bool GetItemExtra(int index, HeaderItemExtra& extra) const;
    // Stores the record, then fits the width to the content and the limits.
    bool SetItemExtra(int index, const HeaderItemExtra& extra);
    void SetSortColumn(int index, bool ascending);
    int GetSortColumn(bool* ascending) const;

    // --- properties ---
    // False for an unknown id. DropTarget is kept by the widget, not here.
    bool SetProperty(int id, std::intptr_t value);
    const HeaderItemMetrics& Metrics() const { return m_metrics; }
    void SetImages(const QSize& size, int count);
    bool ExtendsRight() const { return m_extendRight; }
    int DropCursorId() const { return m_dropCursorId; }
    bool TooltipsOn() const { return m_tooltips; }
    bool AutoFitOn() const { return m_autoFit; }
    bool IsAutoFitting() const { return m_autoFitting; }

    // --- widths ---
    int ContentWidth(int index, bool withArrow) const;
    // Spreads parentWidth over the items after pinned in display order (all when -1).
    void AutoFit(int pinned, int parentWidth);

    // --- geometry ---
    void SetSize(const QSize& size) { m_size = size; }
    QSize Size() const { return m_size; }
    int PositionOf(int index) const;
    QRect ItemRect(int index) const;
    int TotalWidth() const;
    Hit HitTest(const QPoint& point) const;
    HeaderItemLayout LayoutItem(const HeaderItem& item, const QRect& span, bool sorted) const;
    // The display position a drop at point would go before: right of an
    // item's middle, the position after it; -1 off the items.
    int DropIndexAt(const QPoint& point) const;

    // --- mouse ---
    Mouse MouseState() const { return m_mouse; }
    const Hit& HotHit() const { return m_hot; }
    // The resize cursor belongs over a divider of an item that may be resized.
    bool ShowsResizeCursor() const;
    PressResult PressLeft(const QPoint& point);
    // dragDistance: how far the cursor may stray from the press before a drag starts.
    MoveResult MoveTo(const QPoint& point, int dragDistance, bool dragDropAllowed);
    // After BeginDrag: withWindow false when the owner vetoed (the drag then shows nothing).
    // dropArea: the drop target's rectangle in header coordinates, empty when none.
    void StartDrag(bool withWindow, const QRect& dropArea, const QPoint& point);
    ReleaseResult ReleaseLeft(const QPoint& point);
    // After EndDrag: reorders unless vetoed, then ends the drag.
    void FinishDrag(bool vetoed);
    // Ends a press, a resize or a drag without notification or reordering.
    void Cancel();
    // Whether the item is painted pressed (inverted).
    bool LooksPressed(int index) const;

    const HeaderItem& PressedItem() const { return m_pressed.item; }
    int PressedIndex() const { return m_pressedIndex; }
    bool DragHasWindow() const { return m_mouse == Mouse::Dragging && m_dragWindow; }
    int DropIndex() const { return m_dropIndex; }
    int GetDropState() const { return m_dropState; }
    DragCursor Cursor() const { return m_cursor; }

    // The order after moving the item at display position from before dropIndex.
    static std::vector<int> MovedOrder(std::vector<int> order, int from, int dropIndex);

  private:
    struct Entry {
        HeaderItem item;
        HeaderItemExtra extra;
    };

    bool Valid(int index) const { return index >= 0 && index < GetItemCount(); }
    static int EffectiveMax(const HeaderItemExtra& extra);
    void Changed(int index, bool format, bool width);
    // Sets m_dropIndex, m_dropState and m_cursor for the cursor at point.
    void TrackDrop(const QPoint& point);

    std::vector<Entry> m_entries;
    std::vector<int> m_order;
    int m_sortColumn = -1;
    bool m_sortAscending = false;

    HeaderItemMetrics m_metrics;
    bool m_extendRight = false;
    int m_dropCursorId = 0;
    bool m_tooltips = false;
    bool m_autoFit = false;
    bool m_autoFitting = false;

    QSize m_size;
    TextWidth m_textWidth;
    ChangeListener m_changed;

    Mouse m_mouse = Mouse::Idle;
    bool m_leftHeld = false;
    Hit m_hot;
    QPoint m_pressPoint;
    Entry m_pressed;
    int m_pressedIndex = -1;
    int m_pressedPosition = -1;
    int m_pressWidth = 0;
    int m_resizeMin = 0;
    int m_resizeMax = 0;
    bool m_dragWindow = false;
    QRect m_dropArea;
    int m_dropIndex = -1;
    int m_dropState = -1;
    DragCursor m_cursor = DragCursor::Arrow;
};

}  // namespace pagelark
