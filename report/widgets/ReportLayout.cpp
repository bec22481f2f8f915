#include "report/widgets/ReportLayout.h"

#include <algorithm>
#include <climits>

#include "report/model/ReportConstants.h"
#include "report/model/ReportModel.h"

namespace pagelark {

namespace {

// The row-wide fields of an item, read without its text.
ReportItemInfo RowFields(ReportModel& model, int item, int subItem = 0) {
    ReportItemInfo info;
    info.item = item;
    info.subItem = subItem;
    model.GetItem(info);
    return info;
}

}  // namespace

void ReportLayout::Place(const QRect& client, int headerHeight) {
    m_client = client;
    m_header = QRect(client.left(), client.top(), client.width(), std::max(0, headerHeight));
    int top = m_header.bottom() + 1;
    m_band = QRect();
    if (m_model.GetStyle() & RCS_NEWITEMROW) {
        m_band = QRect(client.left(), top, client.width(), m_rowHeight + 2 * kDialogFrame);
        top = m_band.bottom() + 1;
    }
    m_rows = QRect(QPoint(client.left(), top), QPoint(client.right(), client.bottom()));
    SetHorizontalPosition(m_hpos);
    SetTopRow(m_top);
}

// ---- Horizontal

int ReportLayout::Extent() const {
    return m_model.Columns().Extent();
}

int ReportLayout::MaxHorizontalPosition() const {
    return std::max(0, Extent() - m_rows.width());
}

bool ReportLayout::SetHorizontalPosition(int position) {
    const int clamped = std::clamp(position, 0, MaxHorizontalPosition());
    const bool changed = clamped != m_hpos;
    m_hpos = clamped;
    return changed;
}

bool ReportLayout::ScrollHorizontally(ScrollCommand command, int track) {
    const int width = m_rows.width();
    switch (command) {
        case ScrollCommand::LineBack:
            return SetHorizontalPosition(m_hpos - width / 8);
        case ScrollCommand::LineForward:
            return SetHorizontalPosition(m_hpos + width / 8);
        case ScrollCommand::PageBack:
            return SetHorizontalPosition(m_hpos - width);
        case ScrollCommand::PageForward:
            return SetHorizontalPosition(m_hpos + width);
        case ScrollCommand::Start:
            return SetHorizontalPosition(0);
        case ScrollCommand::End:
            return SetHorizontalPosition(Extent());
        case ScrollCommand::Thumb:
            return SetHorizontalPosition(track);
    }
    return false;
}

// ---- Vertical

int ReportLayout::PreviewHeight(int row) const {
    if (!m_model.PreviewEnabled()) return 0;
    return std::max(0, RowFields(m_model, m_model.GetItemFromRow(row)).previewHeight);
}

int ReportLayout::RowFullHeight(int row) const {
    return m_rowHeight + PreviewHeight(row);
}

// Rows count as fitting while the height left below them stays above zero.
int ReportLayout::FittingFrom(int top) const {
    const int rows = m_model.GetRowCount();
    int left = RowsHeight();
    int count = 0;
    for (int row = std::max(0, top); row < rows; ++row) {
        left -= RowFullHeight(row);
        if (left <= 0) break;
        ++count;
    }
    return count;
}

int ReportLayout::TopEndingWith(int last) const {
    int left = RowsHeight();
    int top = last + 1;
    while (top > 0) {
        left -= RowFullHeight(top - 1);
        if (left <= 0) break;
        --top;
    }
    return std::min(top, last);
}

int ReportLayout::MaxTopRow() const {
    const int rows = m_model.GetRowCount();
    if (rows == 0) return 0;
    return std::max(0, TopEndingWith(rows - 1));
}

bool ReportLayout::SetTopRow(int row) {
    const int clamped = std::clamp(row, 0, MaxTopRow());
    const bool changed = clamped != m_top;
    m_top = clamped;
    return changed;
}

bool ReportLayout::ScrollVertically(ScrollCommand command, int track) {
    const int rows = m_model.GetRowCount();
    switch (command) {
        case ScrollCommand::LineBack:
            return SetTopRow(m_top - 1);
        case ScrollCommand::LineForward:
            // Down only while rows remain below the view.
            return m_top + FittingRows() < rows && SetTopRow(m_top + 1);
        case ScrollCommand::PageBack:
            return SetTopRow(TopEndingWith(m_top) - 1);
        case ScrollCommand::PageForward:
            return SetTopRow(m_top + std::max(1, FittingRows()));
        case ScrollCommand::Start:
            return SetTopRow(0);
        case ScrollCommand::End:
            return SetTopRow(rows - 1);
        case ScrollCommand::Thumb:
            return SetTopRow(track);
    }
    return false;
}

bool ReportLayout::EnsureRowVisible(int row) {
    if (row < 0 || row >= m_model.GetRowCount()) return false;
    if (row < m_top) return SetTopRow(row);
    if (row >= m_top + FittingRows()) return SetTopRow(TopEndingWith(row));
    return false;
}

bool ReportLayout::InView(int row) const {
    if (row == -1) return !m_band.isEmpty();
    return row >= m_top && row < m_top + FittingRows();
}

int ReportLayout::RowTop(int row) const {
    if (row == -1) return m_band.isEmpty() ? INT_MIN : m_band.top() + kDialogFrame;
    if (row < m_top) return INT_MIN;
    int y = m_rows.top();
    for (int r = m_top; r < row && y <= m_rows.bottom(); ++r)
        y += RowFullHeight(r);
    return y;
}

int ReportLayout::RowAfterView() const {
    const int rows = m_model.GetRowCount();
    int y = m_rows.top();
    int row = m_top;
    while (row < rows && y <= m_rows.bottom()) {
        y += RowFullHeight(row);
        ++row;
    }
    return row;
}

int ReportLayout::IndentPixels(int row) const {
    const int indent = RowFields(m_model, m_model.GetItemFromRow(row)).indent;
    if (indent < 0) return 0;
    const bool tree = m_model.GetStyle() & (RCS_TREE | RCS_TREEFIXED);
    return (indent + (tree ? 1 : 0)) * m_rowHeight;
}

QRect ReportLayout::RowRect(int row) const {
    const int top = RowTop(row);
    if (top == INT_MIN) return {};
    const int left = m_rows.left() - m_hpos + (row >= 0 ? IndentPixels(row) : 0);
    const int right = std::max(left, m_rows.left() - m_hpos + Extent());
    const int height = row == -1 ? m_rowHeight : RowFullHeight(row);
    return QRect(left, top, right - left, height);
}

// ---- Cells

int ReportLayout::ColumnLeft(int position) const {
    const ReportColumns& columns = m_model.Columns();
    int x = m_rows.left() - m_hpos;
    for (int p = 0; p < position; ++p)
        x += columns.Def(columns.Active()[static_cast<size_t>(p)]).width;
    return x;
}

bool ReportLayout::CellAt(int item, int row, int position, int y, CellLayout& out) const {
    const ReportColumns& columns = m_model.Columns();
    const auto& active = columns.Active();
    if (position < 0 || position >= static_cast<int>(active.size())) return false;
    const int subItem = active[static_cast<size_t>(position)];
    const SubItemDef& def = columns.Def(subItem);
    int left = ColumnLeft(position);
    int width = def.width;
    if (position == 0 && row >= 0) {
        const int indent = IndentPixels(row);
        left += indent;
        width -= indent;
    }
    out.cell = QRect(left, y, std::max(0, width), m_rowHeight);
    const ReportItemInfo info = RowFields(m_model, item, subItem);
    out.hasImage = info.mask & RIF_IMAGE;
    out.hasCheck = info.mask & RIF_CHECK;
    out.hasText = false;
    {
        char buffer[2];
        ReportItemInfo text;
        text.item = item;
        text.subItem = subItem;
        text.text = buffer;
        text.textMax = sizeof buffer;
        m_model.GetItem(text);
        out.hasText = text.mask & RIF_TEXT;
    }
    int x = left + kMargin;
    out.image = out.check = QRect();
    if (out.hasImage || (def.format & RCF_IMAGESPACE)) {
        out.image = QRect(x, y + (m_rowHeight - m_image.height()) / 2 + 1, m_image.width(),
                          m_image.height());
        x += m_image.width() + kMargin;
    }
    if (out.hasCheck || (def.format & RCF_CHECKSPACE)) {
        const int side = CheckWidth();
        out.check = QRect(x, y + (m_rowHeight - side) / 2, side, side);
        x += side + kMargin;
    }
    out.text = QRect(x, y, left + width - kMargin - x, m_rowHeight);
    return true;
}

int ReportLayout::GetItemRect(int item, int subItem, QRect& rect, CellPart part) const {
    const int row = item == -1 ? -1 : m_model.GetRowFromItem(item);
    if (row < -1 || !InView(row)) return 0;
    const auto& active = m_model.Columns().Active();
    int position = 0;
    if (part == CellPart::RowText) {
        if (active.empty()) return 0;
    } else {
        const auto found = std::find(active.begin(), active.end(), subItem);
        if (found == active.end()) return 0;
        position = static_cast<int>(found - active.begin());
    }
    CellLayout cell;
    if (!CellAt(item, row, position, RowTop(row), cell)) return 0;
    const int limit = cell.cell.right() + 1 - kMargin;
    QRect result;
    switch (part) {
        case CellPart::Cell:
            result = cell.cell;
            break;
        case CellPart::Image:
            if (!cell.hasImage) return 0;
            result = cell.image;
            break;
        case CellPart::Check:
            if (!cell.hasCheck) return 0;
            result = cell.check;
            break;
        case CellPart::Text:
            if (!cell.hasText) return 0;
            result = cell.text;
            break;
        case CellPart::RowText:
            result = cell.text;
            result.setRight(RowRect(row).right() - kMargin);
            if (result.width() <= 0) return 0;
            rect = result;
            return 1;
    }
    if (result.width() <= 0) return 0;
    if (part != CellPart::Cell && result.right() + 1 > limit) return 0;
    rect = result;
    return 1;
}

int ReportLayout::HitTest(HitTestInfo& info) const {
    const QPoint point(info.point.x, info.point.y);
    info.flags = 0;
    info.treeNode = -1;
    info.item = -2;
    info.subItem = -1;
    info.row = -2;
    info.headerPosition = -1;
    info.cellRect = ReportRect();
    int row = -2;
    int top = 0;
    if (m_band.contains(point)) {
        info.flags = RHT_ONNEWITEM;
        row = -1;
        top = RowTop(-1);
    } else if (!m_rows.contains(point)) {
        if (point.y() < m_rows.top()) info.flags |= RHT_ABOVE;
        if (point.y() > m_rows.bottom()) info.flags |= RHT_BELOW;
        if (point.x() > m_rows.right()) info.flags |= RHT_TORIGHT;
        if (point.x() < m_rows.left()) info.flags |= RHT_TOLEFT;
        return -2;
    } else {
        const int rows = m_model.GetRowCount();
        int y = m_rows.top();
        for (int r = m_top; r < rows && y <= point.y(); ++r) {
            const int height = RowFullHeight(r);
            if (point.y() < y + height) {
                row = r;
                top = y;
                break;
            }
            y += height;
        }
        if (row == -2) {
            info.flags = RHT_NOWHERE;
            return -2;
        }
    }
    const int item = m_model.GetItemFromRow(row);
    info.item = item;
    info.row = row;
    if (row >= 0 && point.y() >= top + m_rowHeight) {
        info.flags |= RHT_ONPREVIEW;
        return item;
    }
    const auto& active = m_model.Columns().Active();
    const int indent = row >= 0 ? IndentPixels(row) : 0;
    const bool tree = row >= 0 && (m_model.GetStyle() & (RCS_TREE | RCS_TREEFIXED));
    for (int position = 0; position < static_cast<int>(active.size()); ++position) {
        CellLayout cell;
        CellAt(item, row, position, top, cell);
        QRect span = cell.cell;
        if (position == 0) span.setLeft(span.left() - indent);
        if (point.x() < span.left() || point.x() > span.right()) continue;
        info.subItem = active[static_cast<size_t>(position)];
        info.headerPosition = position;
        info.cellRect = {cell.cell.left(), cell.cell.top(), cell.cell.right() + 1,
                         cell.cell.bottom() + 1};
        const int x = point.x();
        if (position == 0 && x < cell.cell.left()) {
            const bool onButton = tree && x >= cell.cell.left() - m_rowHeight;
            info.flags |= onButton ? RHT_ONTREEBUTTON : RHT_NOWHERE;
        } else if (!cell.image.isNull() && x <= cell.image.right() + kMargin) {
            info.flags |= RHT_ONIMAGE;
        } else if (!cell.check.isNull() && x <= cell.check.right() + kMargin) {
            info.flags |= RHT_ONCHECK;
        } else if (x <= cell.cell.right() - kMargin) {
            info.flags |= RHT_ONTEXT;
        } else {
            info.flags |= RHT_NOWHERE;
        }
        return item;
    }
    info.flags |= RHT_NOWHERE;
    return item;
}

}  // namespace pagelark
