// ReportModel: selection and focus. SetRowMarks is the only writer of the
// marks, so the state bits, the SelectionList and the focus row agree.
#include <algorithm>
#include <vector>

#include "report/model/ReportModel.h"

namespace pagelark {

namespace {

constexpr uint32_t kMarks = RIS_SELECTED | RIS_FOCUSED;

}  // namespace

uint32_t ReportModel::StateOf(int item) const {
    if (item == -2) return 0;
    if (!IsVirtual() || item == -1) {
        const ItemEntry* entry = Stored(item);
        return entry ? entry->state : 0;
    }
    // The parent owns virtual rows; their marks live in the list and the focus row.
    uint32_t state = m_selection.Contains(item) ? RIS_SELECTED : 0;
    if (item == GetItemFromRow(m_focusRow)) state |= RIS_FOCUSED;
    return state;
}

void ReportModel::SetRowMarks(int row, bool selected, bool focused) {
    const int item = GetItemFromRow(row);
    if (item == -2) return;
    // Virtual rows belong to the parent: their marks are the list and the focus row.
    const auto stored = [this](int i) { return IsVirtual() && i != -1 ? nullptr : Stored(i); };
    if (selected) {
        m_selection.Add(item);
    } else {
        m_selection.Remove(item);
    }
    if (focused && m_focusRow != row) {
        if (ItemEntry* old = stored(GetItemFromRow(m_focusRow))) old->state &= ~RIS_FOCUSED;
        m_focusRow = row;
    } else if (!focused && m_focusRow == row) {
        m_focusRow = -2;
    }
    if (ItemEntry* entry = stored(item))
        entry->state =
            (entry->state & ~kMarks) | (selected ? RIS_SELECTED : 0) | (focused ? RIS_FOCUSED : 0);
}

bool ReportModel::ChangeSelection(int row, bool select, bool toggle, bool notify) {
    const int item = GetItemFromRow(row);
    if (item == -2) return false;
    const uint32_t old = StateOf(item);
    const uint32_t state = toggle   ? old ^ RIS_SELECTED
                           : select ? old | RIS_SELECTED
                                    : old & ~RIS_SELECTED;
    if (state == old) return false;
    if (notify && NotifyItem(RCN_SELCHANGING, item, -1, state)) return false;
    SetRowMarks(row, (state & RIS_SELECTED) != 0, m_focusRow == row);
    if (notify) NotifyItem(RCN_SELCHANGED, item, -1, state);
    return true;
}

void ReportModel::MoveFocusTo(int row) {
    if (m_focusRow == row) return;
    if (m_focusRow != -2) m_view->InvalidateRow(m_focusRow);
    if (GetItemFromRow(row) != -2) {
        SetRowMarks(row, IsSelectedRow(row), true);
    } else {
        SetRowMarks(m_focusRow, IsSelectedRow(m_focusRow), false);
    }
}

void ReportModel::SelectItems(int first, int last, bool select, bool keepOthers, bool toggle,
                              bool notify) {
    const CheckOnExit check(*this);
    MoveFocusTo(first);
    const bool single = (m_style & RCS_SINGLESELECT) != 0;
    if (single) last = first;
    // Clipped to the rows, so a range far past the end costs no more than the list.
    const int low = std::max(std::min(first, last), -1);
    const int high = std::min(std::max(first, last), GetRowCount() - 1);
    if (select)
        for (int row = low; row <= high; ++row)
            ChangeSelection(row, true, toggle, notify);
    for (int row = low; row <= high; ++row)
        m_view->InvalidateRow(row);
    if (!keepOthers || single) {
        const std::vector<int> selected(m_selection.Items().begin(), m_selection.Items().end());
        for (const int item : selected) {
            const int row = GetRowFromItem(item);
            if (row >= low && row <= high) continue;
            if (ChangeSelection(row, false, false, notify)) m_view->InvalidateRow(row);
        }
    }
    m_view->UpdateNow();
}

int ReportModel::GetFirstSelectedItem() {
    return GetNextSelectedItem(-2);
}

int ReportModel::GetNextSelectedItem(int item) {
    const int from = std::max(item + 1, -1);
    if (from == -1 && (m_pseudo.state & RIS_SELECTED)) return -1;
    if (IsVirtual()) return m_selection.NextFrom(std::max(from, 0));
    for (int i = std::max(from, 0); i < static_cast<int>(m_rows.Size()); ++i)
        if (m_rows[static_cast<size_t>(i)].state & RIS_SELECTED) return i;
    return -2;
}

}  // namespace pagelark
