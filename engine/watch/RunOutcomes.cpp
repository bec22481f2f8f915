#include "engine/watch/RunOutcomes.h"

#include "engine/collect/CollectHost.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/page/EntryText.h"

namespace pagelark {

std::vector<ItemOutcome> RunOutcomes(CollectHost& host, const ItemList& list) {
    std::vector<ItemOutcome> outcomes;
    ItemRows& rows = host.Rows();
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int data = rows.GetItemData(row);
        if (IsDisabledData(data) || rows.GetItemText(row, 3).empty()) continue;
        const int number = ItemNumberFromData(data);
        const ItemRecord item = host.ReadItem(number);
        ItemOutcome outcome;
        outcome.number = number;
        outcome.url = item.url;
        outcome.filter = item.filter;
        outcome.result = rows.GetItemText(row, 2);
        const std::string entries = list.results.Entries(ItemKey(number)).value_or("");
        for (const EntryPiece& piece : SplitEntries(entries)) {
            if (std::optional<std::string> url = list.links.Lookup(piece.marker))
                outcome.entryUrls.push_back(std::move(*url));
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

}  // namespace pagelark
