#include "engine/collect/MemoryRows.h"

namespace pagelark {

int MemoryRows::AppendRow(int data) {
    MemoryRow row;
    row.image = 1;
    row.data = data;
    m_rows.push_back(row);
    return static_cast<int>(m_rows.size()) - 1;
}

int MemoryRows::GetItemData(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return 0;
    return m_rows[static_cast<size_t>(row)].data;
}

int MemoryRows::GetLineHeight(int lines) {
    return m_lineHeight < 0 ? -1 : lines * m_lineHeight;
}

int MemoryRows::SetItem(const ReportItemInfo& info) {
    if (info.item < 0 || info.item >= static_cast<int>(m_rows.size())) return 0;
    if (info.subItem < 0 || info.subItem >= static_cast<int>(MemoryRow{}.texts.size())) return 0;
    MemoryRow& row = m_rows[static_cast<size_t>(info.item)];
    if (info.mask & RIF_TEXT)
        row.texts[static_cast<size_t>(info.subItem)] = info.text ? info.text : "";
    if ((info.mask & RIF_IMAGE) && info.subItem == 0) row.image = info.image;
    if (info.mask & RIF_PREVIEW) row.previewHeight = info.previewHeight;
    if (info.mask & RIF_STATE)
        row.state = (row.state & RIS_CONTROL_OWNED) | (info.state & ~RIS_CONTROL_OWNED);
    if (info.mask & RIF_PARAM) row.data = info.param;
    return 1;
}

int MemoryRows::InsertItem(const ReportItemInfo& info) {
    if (info.item < 0 || info.item > static_cast<int>(m_rows.size())) return -2;
    m_rows.insert(m_rows.begin() + info.item, MemoryRow{});
    SetItem(info);
    return info.item;
}

bool MemoryRows::DeleteAllItems() {
    m_rows.clear();
    return true;
}

std::string MemoryRows::GetItemText(int item, int subItem) {
    if (item < 0 || item >= static_cast<int>(m_rows.size())) return {};
    if (subItem < 0 || subItem >= static_cast<int>(MemoryRow{}.texts.size())) return {};
    return m_rows[static_cast<size_t>(item)].texts[static_cast<size_t>(subItem)];
}

int MemoryRows::GetItemImage(int row) {
    if (row < 0 || row >= GetItemCount()) return -1;
    return m_rows[static_cast<size_t>(row)].image;
}

}  // namespace pagelark
