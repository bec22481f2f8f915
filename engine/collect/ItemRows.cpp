#include "engine/collect/ItemRows.h"

#include "engine/collect/ItemState.h"

namespace pagelark {

int SetRowText(ItemRows& rows, int row, int column, const std::string& text) {
    ReportItemInfo info;
    info.mask = RIF_TEXT;
    info.item = row;
    info.subItem = column;
    info.text = const_cast<char*>(text.c_str());  // written, never read through
    return rows.SetItem(info);
}

int SetRowImage(ItemRows& rows, int row, int image) {
    ReportItemInfo info;
    info.mask = RIF_IMAGE;
    info.item = row;
    info.image = image;
    return rows.SetItem(info);
}

int AppendItemRow(ItemRows& rows, int number, std::string_view name) {
    ReportItemInfo row;
    row.mask = RIF_IMAGE | RIF_CHECK | RIF_STATE | RIF_PARAM;
    row.item = rows.GetItemCount();
    row.subItem = 0;
    row.image = static_cast<int>(ItemState::Ready);
    row.check = -1;
    row.state = 0;
    row.param = number;
    const int index = rows.InsertItem(row);
    if (index < 0) return index;

    SetRowText(rows, index, 1, std::string(name));
    return index;
}

}  // namespace pagelark
