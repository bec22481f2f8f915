#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ReportHeader.h"
#include "controls/FlatHeaderState.h"

// The report list's column header: flat captions with a sort arrow, dividers
// to resize them, captions that can be dragged to a new place or off the
// header, width limits per item and an optional fit of all widths to the
// parent's width. What it knows lives in FlatHeaderState; this widget paints
// from it and turns the mouse into calls on it.
namespace pagelark {

class FlatHeaderOwner;
class HeaderDragWindow;
class HeaderDropMarker;
class ImageList;

class CFlatHeaderCtrl : public QWidget, public ReportHeader {
    Q_OBJECT

  public:
    // The tooltip tool that stands for every item.
    static constexpr uint32_t TipToolId = 0xFF37ED5D;

    explicit CFlatHeaderCtrl(QWidget* parent = nullptr);
    ~CFlatHeaderCtrl() override;

    // Receives the drag, click and change notifications; may be null.
    void SetOwner(FlatHeaderOwner* owner) { m_owner = owner; }

    int GetItemCount() const override;
    int InsertItem(int index, const HeaderItem& item) override;
    bool DeleteItem(int index) override;
    bool GetItem(int index, HeaderItem& item) const override;
    bool SetItemWidth(int index, int width) override;
    bool SetItemFormat(int index, uint32_t format) override;
    bool SetItemData(int index, int data) override;
    std::vector<int> GetOrderArray() const override;
    bool SetItemExtra(int index, const HeaderItemExtra& extra) override;
    void SetSortColumn(int index, bool ascending) override;
    int GetSortColumn(bool* ascending) const override;

    // False unless order names every item once.
    bool SetOrderArray(const std::vector<int>& order);
    // False beyond the records; a FixedWidth item reports its width as both limits.
    bool GetItemExtra(int index, HeaderItemExtra& extra) const;
    // FlatHeaderState::Property ids; DropTarget takes a QWidget*. False for an unknown id.
    bool SetProperty(int id, std::intptr_t value);
    // True while AutoFit writes widths, so that the owner can tell its own changes apart.
    bool IsAutoFitting() const { return m_state.IsAutoFitting(); }
    // 0 over an item, 1 over the drop target, 2 off the items with a KeepOnDrag item,
    // -1 elsewhere; of the current or the last drag.
    int GetDropState() const { return m_state.GetDropState(); }
    int ContentWidth(int index, bool withArrow) const;
    // Spreads the parent's client width over the items after pinned (all when -1).
    void AutoFit(int pinned = -1);
    // Image 0 gives the images' size. The list must outlive the header; null for none.
    void SetImageList(const ImageList* images);
    // Whether captions may be dragged (on for the report list's header).
    void SetDragDrop(bool on) { m_dragDrop = on; }
    // A positive height is given to the header by every layout.
    void SetHeightOverride(int height) { m_heightOverride = height; }
    // Places the header along the top of area and fits the widths when auto
    // fit is on; returns the part of area below the header.
    QRect Layout(const QRect& area);
    // Shows the drop marker before display position index; outside 0 to the
    // item count + 1 it removes the marker. Returns the index.
    int SetHotDivider(int index);
    // The same for the display position under a screen point (-1 off the items).
    int SetHotDivider(const QPoint& globalPos);
    // Ends a press, a resize or a drag without reordering, as when the window loses the mouse.
    void CancelMode();

    struct Tool {
        uint32_t id = 0;  // TipToolId, or 0 when there is no tool at the point
        QRect rect;
        std::string text;
    };
    Tool ToolAt(const QPoint& point) const;

    const FlatHeaderState& State() const { return m_state; }
    const HeaderDragWindow* DragWindow() const { return m_dragWindow.get(); }
    const HeaderDropMarker* DropMarker() const { return m_marker.get(); }

    // Paints the item's image, text and sort arrow inside span.
    virtual void DrawItem(QPainter& painter, const QRect& span, const HeaderItem& item, bool sorted,
                          bool ascending) const;
    // Items with the owner-draw format bit are painted here; the default paints nothing.
    virtual void DrawOwnerItem(QPainter& painter, const QRect& rect, int index) const;

    // A one-pixel raised frame: topLeft on the top and left, bottomRight on the others.
    static void Draw3dFrame(QPainter& painter, const QRect& rect, const QColor& topLeft,
                            const QColor& bottomRight);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void DrawSortArrow(QPainter& painter, const QPoint& origin, bool ascending) const;
    void OnItemChanged(int index, bool format, bool width);
    void BeginDrag(const QPoint& pos);
    void UpdateDrag(const QPoint& pos);
    // notify false: as on cancel, no end-drag notification and no reordering.
    void EndDrag(bool notify);
    QRect DropTargetArea() const;
    QCursor DragCursor() const;
    void SetDragCursor(const QCursor& cursor);
    void RestoreCursor();

    FlatHeaderState m_state;
    FlatHeaderOwner* m_owner = nullptr;
    const ImageList* m_images = nullptr;
    QPointer<QWidget> m_dropTarget;
    std::unique_ptr<HeaderDragWindow> m_dragWindow;
    std::unique_ptr<HeaderDropMarker> m_marker;
    int m_markerIndex = -1;  // display position the marker stands before
    QColor m_markerColour{255, 0, 0};
    bool m_dragDrop = true;
    int m_heightOverride = -1;
    bool m_cursorOverridden = false;
};

}  // namespace pagelark
