#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>

#include "report/model/ReportNotify.h"

// Where the report control's header, new-item band, rows and cells lie, and
// how far it is scrolled. Pure geometry over the model: no painting, no
// window, so every rule is tested without one.
namespace pagelark {

class ReportModel;

// Hit-test flags.
inline constexpr uint32_t RHT_NOWHERE = 0x1;  // in the rows area, on no part
inline constexpr uint32_t RHT_ONIMAGE = 0x2;
inline constexpr uint32_t RHT_ONCHECK = 0x4;
inline constexpr uint32_t RHT_ONTEXT = 0x8;
inline constexpr uint32_t RHT_ONPREVIEW = 0x10;
inline constexpr uint32_t RHT_ONTREEBUTTON = 0x20;
inline constexpr uint32_t RHT_ONNEWITEM = 0x40;
inline constexpr uint32_t RHT_ABOVE = 0x100;
inline constexpr uint32_t RHT_BELOW = 0x200;
inline constexpr uint32_t RHT_TORIGHT = 0x400;
inline constexpr uint32_t RHT_TOLEFT = 0x800;

struct HitTestInfo {
    ReportPoint point;
    uint32_t flags = 0;
    int32_t treeNode = -1;
    int32_t item = -2;
    int32_t subItem = -1;
    int32_t row = -2;
    int32_t headerPosition = -1;
    ReportRect cellRect;
};

// Parts of a cell for GetItemRect.
enum class CellPart { Cell = 0, Image = 1, Check = 2, Text = 3, RowText = 4 };

enum class ScrollCommand { LineBack, LineForward, PageBack, PageForward, Start, End, Thumb };

class ReportLayout {
  public:
    static constexpr int kMargin = 6;
    static constexpr int kDialogFrame = 3;  // the band's frame on each side

    explicit ReportLayout(ReportModel& model) : m_model(model) {}

    // Metrics the widget measures in its fonts and image lists.
    void SetRowHeight(int height) { m_rowHeight = height; }
    int RowHeight() const { return m_rowHeight; }
    void SetImageSize(QSize size) { m_image = size; }
    QSize ImageSize() const { return m_image; }
    // The check box (or check image) width; square boxes of row height - 2 by default.
    void SetCheckWidth(int width) { m_checkWidth = width; }
    int CheckWidth() const { return m_checkWidth >= 0 ? m_checkWidth : m_rowHeight - 2; }

    // Places header, band and rows within the client area; headerHeight is what
    // the header asked for (0 under RCS_NOHEADER). Clamps both scroll positions.
    void Place(const QRect& client, int headerHeight);
    QRect Client() const { return m_client; }
    QRect HeaderRect() const { return m_header; }
    QRect BandRect() const { return m_band; }  // empty without RCS_NEWITEMROW
    QRect RowsRect() const { return m_rows; }

    // Horizontal: pixels over the active columns' width sum.
    int Extent() const;
    int HorizontalPosition() const { return m_hpos; }
    int MaxHorizontalPosition() const;
    // True when the position changed.
    bool SetHorizontalPosition(int position);
    bool ScrollHorizontally(ScrollCommand command, int track = 0);

    // Vertical: display rows; the top row is the position.
    int TopRow() const { return m_top; }
    // Rows that fit below the top row; the last fitting row is TopRow() + FittingRows() - 1.
    int FittingRows() const { return FittingFrom(m_top); }
    // The lowest top row that still ends with a full page.
    int MaxTopRow() const;
    bool SetTopRow(int row);
    bool ScrollVertically(ScrollCommand command, int track = 0);
    // Makes the row the top row when above the view, or the last fitting one when below.
    bool EnsureRowVisible(int row);

    // A display row's full height, preview band included.
    int RowFullHeight(int row) const;
    int PreviewHeight(int row) const;
    // The top of a row at or below the top row, in client coordinates; the
    // band's top for -1; INT_MIN above the view.
    int RowTop(int row) const;
    // The row's rectangle (preview included) spanning its columns, for rows from the top row.
    QRect RowRect(int row) const;
    // The first display row whose top lies below the rows area's bottom (or the row count).
    int RowAfterView() const;
    // The indent of a row in pixels (tree levels times the row height), 0 when none.
    int IndentPixels(int row) const;

    // 1 and the rectangle in client coordinates, or 0 (see CellPart).
    int GetItemRect(int item, int subItem, QRect& rect, CellPart part) const;
    // Fills info from info.point; returns the item (-2 none, -1 the pseudo item).
    int HitTest(HitTestInfo& info) const;

  private:
    struct CellLayout {
        QRect cell;   // the top row-height part of the cell
        QRect image;  // empty when the cell keeps no room for it
        QRect check;
        QRect text;  // room left for the text
        bool hasImage = false;
        bool hasCheck = false;
        bool hasText = false;
    };
    int FittingFrom(int top) const;
    // The smallest top row from which the rows up to last all fit.
    int TopEndingWith(int last) const;
    int RowsHeight() const { return m_rows.height(); }
    // The cell of a header position in a row whose top is y; false past the columns.
    bool CellAt(int item, int row, int position, int y, CellLayout& out) const;
    int ColumnLeft(int position) const;
    bool InView(int row) const;

    ReportModel& m_model;
    int m_rowHeight = 16;
    QSize m_image;
    int m_checkWidth = -1;
    QRect m_client;
    QRect m_header;
    QRect m_band;
    QRect m_rows;
    int m_hpos = 0;
    int m_top = 0;
};

}  // namespace pagelark
