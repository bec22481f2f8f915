// CReportCtrl: the keyboard (every key goes to the parent as RCN_KEYDOWN
// first), typing that starts an edit, and the keyboard focus.
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "controls/FlatHeaderCtrl.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {

namespace {

// Platform virtual-key codes the parent is told.
constexpr uint32_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B,
                   VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
                   VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D,
                   VK_DELETE = 0x2E, VK_F1 = 0x70;

}  // namespace

uint32_t CReportCtrl::VirtualKey(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        default:
            break;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<uint32_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<uint32_t>(key - Qt::Key_F1);
    return 0;
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
    const uint32_t key = VirtualKey(*event);
    if (HandleKey(key, event->modifiers())) return;
    // A key the list does not use: typing (Ctrl up) may start an edit.
    m_typing = !(event->modifiers() & Qt::ControlModifier);
    const uint32_t character = TypedCharacter(*event);
    if (m_typing && character != 0 && m_model.GetFocusColumn() >= 0 && CellFocusApplies() &&
        BeginEdit(m_model.GetFocusRow(), m_model.GetFocusColumn(), character))
        return;
    event->ignore();
}

uint32_t CReportCtrl::TypedCharacter(const QKeyEvent& event) {
    // The whole first character, not the first half of a surrogate pair.
    const QList<uint> characters = event.text().toUcs4();
    if (characters.isEmpty()) return 0;
    const uint32_t character = characters.front();
    // Esc, Delete and the other control characters would become the cell's
    // text; of them only Backspace, Tab and Enter have a meaning as a start.
    if (character == VK_BACK || character == VK_TAB || character == VK_RETURN) return character;
    return QChar::isPrint(static_cast<char32_t>(character)) ? character : 0;
}

bool CReportCtrl::HandleKey(uint32_t key, Qt::KeyboardModifiers modifiers) {
    const int focus = m_model.GetFocusRow();
    ReportNotify record;
    record.keys = key;
    record.item = m_model.GetItemFromRow(focus);
    const int column = m_model.GetFocusColumn();
    const auto& active = m_model.Columns().Active();
    if (column >= 0 && column < static_cast<int>(active.size()))
        record.subItem = active[static_cast<size_t>(column)];
    if (record.item >= -1 && !(m_model.GetStyle() & RCS_VIRTUAL))
        record.param = m_model.GetItemData(record.item);
    if (Notify(record.header, RCN_KEYDOWN)) return true;

    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    const uint32_t style = m_model.GetStyle();
    const int rows = m_model.GetRowCount();
    const bool tree = style & (RCS_TREE | RCS_TREEFIXED);
    // Go to a row: Ctrl moves the focus, Shift selects from the anchor, else the
    // row alone is selected and becomes the anchor.
    const auto go = [&](int target) {
        if (control) {
            SelectItems(target, target, false, true, false, true);
        } else if (shift) {
            SelectItems(target, m_model.GetAnchor(), true, false, false, true);
        } else {
            SelectItems(target, target, true, false, false, true);
            m_model.SetAnchor(target);
        }
        EnsureRowVisible(target);
    };
    switch (key) {
        case VK_SPACE:
            if (focus >= -1) SelectItems(focus, focus, true, true, control, true);
            break;
        case VK_PRIOR: {
            if (rows == 0) break;
            if (focus == m_layout.TopRow()) ScrollVertically(ScrollCommand::PageBack);
            const int target = m_layout.TopRow();
            if (control) m_model.SetAnchor(target);
            go(target);
            break;
        }
        case VK_NEXT: {
            if (rows == 0) break;
            const auto last = [&] {
                return std::max(m_layout.TopRow(), m_layout.TopRow() + m_layout.FittingRows() - 1);
            };
            if (focus == last()) ScrollVertically(ScrollCommand::PageForward);
            const int target = std::min(last(), rows - 1);
            if (control) m_model.SetAnchor(target);
            go(target);
            break;
        }
        case VK_END:
            if (rows == 0) break;
            ScrollVertically(ScrollCommand::End);
            if (!shift) m_model.SetAnchor(rows - 1);
            SelectItems(rows - 1, m_model.GetAnchor(), !control, control, false, true);
            break;
        case VK_HOME:
            if (focus <= 0) break;
            ScrollVertically(ScrollCommand::Start);
            if (!shift) m_model.SetAnchor(0);
            SelectItems(0, m_model.GetAnchor(), !control, control, false, true);
            break;
        case VK_LEFT:
            if (tree && column < 0 && focus >= 0) {
                const int item = m_model.GetItemFromRow(focus);
                if (m_model.ItemHasChildren(item) && m_model.Collapse(item, true)) break;
                const int depth = m_model.GetItemDepth(item);
                int parent = focus - 1;
                while (parent >= 0 && m_model.GetItemDepth(m_model.GetItemFromRow(parent)) >= depth)
                    --parent;
                if (parent >= 0 || (style & RCS_NEWITEMROW)) go(parent);
            } else if (style & RCS_CELLFOCUS) {
                MoveFocusColumn(-1);
            } else {
                ScrollHorizontally(ScrollCommand::LineBack);
            }
            break;
        case VK_RIGHT:
            if (tree && column < 0 && focus >= 0) {
                const int item = m_model.GetItemFromRow(focus);
                if (!m_model.ItemHasChildren(item)) break;
                ReportItemInfo info;
                info.item = item;
                m_model.GetItem(info);
                if (info.state & RIS_EXPANDED)
                    go(focus + 1);
                else
                    m_model.Expand(item, true);
            } else if (style & RCS_CELLFOCUS) {
                MoveFocusColumn(1);
            } else {
                ScrollHorizontally(ScrollCommand::LineForward);
            }
            break;
        case VK_UP:
            if (focus > 0 || (focus == 0 && (style & RCS_NEWITEMROW))) go(focus - 1);
            break;
        case VK_DOWN: {
            const int from = focus == -2 && !(style & RCS_NEWITEMROW) ? -1 : focus;
            if (from + 1 < rows) go(from + 1);
            break;
        }
        default:
            // Esc and every key the list does not use go on to the window.
            return false;
    }
    return true;
}

void CReportCtrl::MoveFocusColumn(int step) {
    const auto& active = m_model.Columns().Active();
    const int count = static_cast<int>(active.size());
    const int column = m_model.GetFocusColumn();
    const auto mayFocus = [&](int position) {
        return !(m_model.Columns().Def(active[static_cast<size_t>(position)]).format & RCF_NOFOCUS);
    };
    int next = column;
    if (step < 0) {
        next = -1;
        for (int p = column - 1; p >= 0; --p)
            if (mayFocus(p)) {
                next = p;
                break;
            }
    } else {
        for (int p = column + 1; p < count; ++p)
            if (mayFocus(p)) {
                next = p;
                break;
            }
    }
    if (next == column) return;
    m_model.SetFocusColumn(next);
    ScrollToFocusColumn();
    InvalidateRow(m_model.GetFocusRow());
}

void CReportCtrl::ScrollToFocusColumn() {
    const int column = m_model.GetFocusColumn();
    if (column < 0) return;
    const auto& active = m_model.Columns().Active();
    int left = 0;
    for (int p = 0; p < column; ++p)
        left += m_model.Columns().Def(active[static_cast<size_t>(p)]).width;
    const int right = left + m_model.Columns().Def(active[static_cast<size_t>(column)]).width;
    const int view = m_layout.RowsRect().width();
    int position = m_layout.HorizontalPosition();
    if (right > position + view) position = right - view;
    if (left < position) position = left;
    ScrollHorizontally(ScrollCommand::Thumb, position);
}

void CReportCtrl::focusInEvent(QFocusEvent* event) {
    m_model.SetHasFocus(true);
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void CReportCtrl::focusOutEvent(QFocusEvent* event) {
    QWidget* now = QApplication::focusWidget();
    // The editor is the control's own child: the list keeps its focus look.
    if (!(now && isAncestorOf(now))) m_model.SetHasFocus(false);
    HideTip();
    if (m_header) m_header->CancelMode();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

}  // namespace pagelark
