#include "files/RowsJson.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemRows.h"
#include "engine/collect/ItemState.h"
#include "engine/watch/ChangeTracker.h"
#include "files/HistoryJson.h"

namespace pagelark {
namespace {

bool Has(const std::vector<int>& numbers, int number) {
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

}  // namespace

std::string RowsJson(ItemRows& rows, const ItemList& list, const ChangeTracker& tracker,
                     const RunMarks& marks, bool markedOnly, const ReasonWordsOf& words) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const bool changed = Has(marks.changed, number);
        if (markedOnly && !changed && !Has(marks.attention, number)) continue;
        const std::string result = rows.GetItemText(row, 2);
        const RowReason reason = list.reasons.Of(number);
        nlohmann::ordered_json history = nlohmann::ordered_json::array();
        if (const TrackedItem* item = tracker.Find(number))
            history = HistoryListJson(*item, CurrentEntries(*item, result, reason.Good()));
        items.push_back({{"number", number},
                         {"state", std::string(ItemStateName(rows.GetItemImage(row)))},
                         {"name", rows.GetItemText(row, 1)},
                         {"result", result},
                         {"last_update", rows.GetItemText(row, 3)},
                         {"entries", list.results.Entries(ItemKey(number)).value_or("")},
                         {"changed", changed},
                         {"reason", reason.Good() ? std::string() : words(reason)},
                         {"attention", tracker.NeedsAttention(number)},
                         {"history", std::move(history)}});
    }
    return items.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace pagelark
