// ReportModel: the self-check of what the model holds twice. Each mark is a
// state bit and an entry in a list or the focus row; the display order is a
// permutation of the items.
#include <string>
#include <unordered_set>
#include <vector>

#include "report/model/ReportModel.h"

namespace pagelark {

namespace {

std::string ItemFault(int item, const char* what) {
    return "item " + std::to_string(item) + ": " + what;
}

}  // namespace

std::string ReportModel::FindInconsistency() const {
    const int items = GetItemCount();
    if (m_focusRow < -2 || m_focusRow >= GetRowCount())
        return "focus row " + std::to_string(m_focusRow) + " is no row";
    if (!IsVirtual() && !IsTree()) {
        if (m_order.Size() != items) return "the display order does not hold every item";
        std::vector<bool> shown(static_cast<size_t>(items));
        for (int row = 0; row < items; ++row) {
            const int item = m_order.ItemAt(row);
            if (item < 0 || item >= items || shown[static_cast<size_t>(item)])
                return ItemFault(item, "shown twice or not an item");
            shown[static_cast<size_t>(item)] = true;
        }
    }
    std::unordered_set<int> listed;
    for (const int item : m_selection.Items()) {
        if (!listed.insert(item).second) return ItemFault(item, "selected twice");
        if (item < -1 || item >= items) return ItemFault(item, "selected but not an item");
        if (!m_selection.Contains(item)) return ItemFault(item, "selected but not found");
    }
    const int focusItem = GetItemFromRow(m_focusRow);
    const auto marks = [&](int item, uint32_t state) -> std::string {
        if (((state & RIS_SELECTED) != 0) != listed.contains(item))
            return ItemFault(item, "selection bit and selection list disagree");
        if (((state & RIS_FOCUSED) != 0) != (item == focusItem))
            return ItemFault(item, "focus bit and focus row disagree");
        return {};
    };
    if (std::string fault = marks(-1, m_pseudo.state); !fault.empty()) return fault;
    for (size_t item = 0; item < m_rows.Size(); ++item) {
        const uint32_t state = m_rows[item].state;
        // Stored rows that virtual mode does not show hold no marks.
        if (IsVirtual() && (state & (RIS_SELECTED | RIS_FOCUSED)))
            return ItemFault(static_cast<int>(item), "marked while the parent owns the rows");
        if (IsVirtual()) continue;
        if (std::string fault = marks(static_cast<int>(item), state); !fault.empty()) return fault;
    }
    std::string hidden;
    if (IsTree())
        m_tree.ForEach(m_rows, [&](const ItemEntry& entry, int row) {
            if (row < 0 && (entry.state & (RIS_SELECTED | RIS_FOCUSED)))
                hidden = "a hidden item is marked";
        });
    return hidden;
}

void ReportModel::ReportInconsistency() const {
    const std::string fault = FindInconsistency();
    if (!fault.empty()) m_onFault(fault);
}

}  // namespace pagelark
