// CReportCtrl: clicks, double clicks, the wheel, and the mouse moves that
// drive the tip over clipped cells.
#include <QMouseEvent>
#include <QWheelEvent>

#include "report/widgets/ReportCtrl.h"
#include "report/widgets/ReportTipWindow.h"

namespace pagelark {

namespace {

uint32_t KeyFlags(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? MK_SHIFT : 0) |
           (modifiers & Qt::ControlModifier ? MK_CONTROL : 0);
}

constexpr int kNotch = 120;

}  // namespace

bool CReportCtrl::viewportEvent(QEvent* event) {
    return QAbstractScrollArea::viewportEvent(event);
}

ReportNotify CReportCtrl::MouseRecord(const QPoint& at, Qt::KeyboardModifiers modifiers,
                                      HitTestInfo& hit) {
    hit.point = {at.x(), at.y()};
    m_layout.HitTest(hit);
    ReportNotify record;
    record.keys = KeyFlags(modifiers);
    record.point = hit.point;
    record.hitFlags = hit.flags;
    record.treeNode = hit.treeNode;
    record.item = hit.item;
    record.subItem = hit.subItem;
    if (hit.item >= -1 && !(m_model.GetStyle() & RCS_VIRTUAL))
        record.param = m_model.GetItemData(hit.item);
    return record;
}

bool CReportCtrl::CellFocusApplies() const {
    return m_model.GetFocusRow() == -1 || (m_model.GetStyle() & RCS_CELLFOCUS);
}

void CReportCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        HandleLeftPress(at, event->modifiers());
        return;
    }
    if (event->button() != Qt::RightButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    HitTestInfo hit;
    ReportNotify record = MouseRecord(at, event->modifiers(), hit);
    if (Notify(record.header, RCN_RCLICK)) {
        event->ignore();
        return;
    }
    if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) && hit.item != -2) {
        SelectItems(hit.row, hit.row, true, false, false, true);
        m_model.SetAnchor(hit.row);
    }
}

void CReportCtrl::HandleLeftPress(const QPoint& at, Qt::KeyboardModifiers modifiers) {
    setFocus(Qt::MouseFocusReason);
    HitTestInfo hit;
    ReportNotify record = MouseRecord(at, modifiers, hit);
    const uint32_t style = m_model.GetStyle();
    if ((style & (RCS_TREE | RCS_TREEFIXED)) && (hit.flags & RHT_ONTREEBUTTON)) {
        if (m_model.ItemHasChildren(hit.item)) {
            ReportItemInfo info;
            info.item = hit.item;
            m_model.GetItem(info);
            if (info.state & RIS_EXPANDED)
                m_model.Collapse(hit.item, true);
            else
                m_model.Expand(hit.item, true);
        }
        return;
    }
    if (Notify(record.header, RCN_CLICK)) return;
    const int oldRow = m_model.GetFocusRow();
    const int oldColumn = m_model.GetFocusColumn();
    int column = -1;
    if ((style & RCS_CELLFOCUS) && hit.headerPosition >= 0) {
        const int subItem = m_model.Columns().Active()[static_cast<size_t>(hit.headerPosition)];
        if (!(m_model.Columns().Def(subItem).format & RCF_NOFOCUS)) column = hit.headerPosition;
    }
    m_model.SetFocusColumn(column);
    if (hit.item == -2) {
        viewport()->update();
        return;
    }
    const int row = hit.row;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    const int anchor = m_model.GetAnchor();
    if (shift && !control) {
        SelectItems(row, anchor, true, false, false, true);
    } else if (control && !shift) {
        SelectItems(row, row, true, true, true, true);
        m_model.SetAnchor(row);
    } else if (control && shift) {
        SelectItems(row, anchor, true, true, false, true);
        m_model.SetAnchor(row);
    } else {
        SelectItems(row, row, true, false, false, true);
        m_model.SetAnchor(row);
        if (oldRow == row && oldColumn == column && column >= 0 && CellFocusApplies())
            BeginEdit(row, column, 1);
    }
    viewport()->update();
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    HitTestInfo hit;
    ReportNotify record = MouseRecord(event->position().toPoint(), event->modifiers(), hit);
    if (Notify(record.header, RCN_DBLCLICK)) return;
    if ((m_model.GetStyle() & (RCS_TREE | RCS_TREEFIXED)) && hit.item >= 0 &&
        m_model.ItemHasChildren(hit.item)) {
        ReportItemInfo info;
        info.item = hit.item;
        m_model.GetItem(info);
        if (info.state & RIS_EXPANDED)
            m_model.Collapse(hit.item, false);
        else
            m_model.Expand(hit.item, false);
        m_model.NotifyItem(RCN_EXPANDED, hit.item, hit.subItem, 0);
    }
}

void CReportCtrl::mouseMoveEvent(QMouseEvent* event) {
    DriveTip(event->position().toPoint(), event->buttons(), event->modifiers());
}

void CReportCtrl::DriveTip(const QPoint& at, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers modifiers) {
    const uint32_t style = m_model.GetStyle();
    bool shown = false;
    if (m_model.HasFocus() && buttons == Qt::NoButton && modifiers == Qt::NoModifier &&
        (style & RCS_CELLTIPS) && !m_editor) {
        HitTestInfo hit;
        hit.point = {at.x(), at.y()};
        const int item = m_layout.HitTest(hit);
        if (item != -2 && (hit.flags & RHT_ONTEXT) && hit.subItem >= 0) {
            char buffer[256];
            ReportItemInfo info;
            info.item = item;
            info.subItem = hit.subItem;
            info.text = buffer;
            info.textMax = sizeof buffer;
            QRect rect;
            if (m_model.GetItem(info) && (info.mask & RIF_TEXT) && buffer[0] != '\0' &&
                m_layout.GetItemRect(item, hit.subItem, rect, CellPart::Text)) {
                PreTip(item, hit.subItem);
                shown = m_tip->Show(rect, QString::fromUtf8(buffer),
                                    info.state & RIS_BOLD ? &m_boldFont : &m_font);
            }
        }
    }
    if (!shown && m_tip->isVisible()) m_tip->Hide();
}

// Rotation that does not yet make a whole line is kept for the next event, so
// the fine steps of a touchpad add up instead of being lost.
void CReportCtrl::wheelEvent(QWheelEvent* event) {
    const int rotation = event->angleDelta().y();
    if (rotation == 0 || m_wheelLines == 0) {
        event->ignore();
        return;
    }
    m_wheelRest += rotation;
    if (m_wheelLines < 0) {
        for (; m_wheelRest >= kNotch; m_wheelRest -= kNotch)
            ScrollVertically(ScrollCommand::PageBack);
        for (; m_wheelRest <= -kNotch; m_wheelRest += kNotch)
            ScrollVertically(ScrollCommand::PageForward);
    } else {
        const int lines = m_wheelRest * m_wheelLines / kNotch;
        m_wheelRest -= lines * kNotch / m_wheelLines;
        for (int n = 0; n < lines; ++n)
            ScrollVertically(ScrollCommand::LineBack);
        for (int n = 0; n > lines; --n)
            ScrollVertically(ScrollCommand::LineForward);
    }
    event->accept();
}

}  // namespace pagelark
