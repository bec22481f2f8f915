#include "files/RowsJson.h"

#include <nlohmann/json.hpp>

#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRows.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/ResultMaps.h"

namespace pagelark {

std::string RowsJson(ItemRows& rows, const ResultMaps& results, const std::set<int>& changed,
                     bool changedOnly) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const bool isChanged = changed.contains(number);
        if (changedOnly && !isChanged) continue;
        items.push_back({{"number", number},
                         {"state", std::string(ItemStateName(rows.GetItemImage(row)))},
                         {"name", rows.GetItemText(row, 1)},
                         {"result", rows.GetItemText(row, 2)},
                         {"last_update", rows.GetItemText(row, 3)},
                         {"entries", results.Entries(ItemKey(number)).value_or("")},
                         {"changed", isChanged}});
    }
    return items.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace pagelark
