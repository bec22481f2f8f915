#include "app/window/ReportRows.h"

#include "report/widgets/ReportCtrl.h"

namespace pagelark {

int ReportRows::GetItemData(int row) {
    return static_cast<int>(m_list->GetItemData(row));
}

int ReportRows::GetLineHeight(int lines) {
    return m_list->GetLineHeight(m_list->NormalFont(), lines);
}

int ReportRows::SetItem(const ReportItemInfo& info) {
    return m_list->SetItem(info);
}

int ReportRows::GetItemCount() {
    return m_list->GetItemCount();
}

int ReportRows::InsertItem(const ReportItemInfo& info) {
    return m_list->InsertItem(info);
}

bool ReportRows::DeleteAllItems() {
    return m_list->DeleteAllItems() != 0;
}

std::string ReportRows::GetItemText(int item, int subItem) {
    return m_list->GetItemText(item, subItem);
}

int ReportRows::GetItemImage(int row) {
    ReportItemInfo info;
    info.mask = RIF_IMAGE;
    info.item = row;
    return m_list->GetItem(info) != 0 ? info.image : -1;
}

void ReportRows::BeginBatch() {
    m_list->BeginBatch();
}

void ReportRows::EndBatch() {
    m_list->EndBatch();
}

}  // namespace pagelark
