#include "engine/ItemRows.h"

#include "engine/ItemState.h"

namespace pagelark {

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

    const std::string text(name);
    ReportItemInfo label;
    label.mask = RIF_TEXT;
    label.item = index;
    label.subItem = 1;
    label.text = const_cast<char*>(text.c_str());  // written, never read through
    rows.SetItem(label);
    return index;
}

}  // namespace pagelark
