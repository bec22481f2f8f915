#include "engine/watch/RunOutcomes.h"

#include "engine/collect/CollectHost.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/page/EntryText.h"

namespace pagelark {
namespace {

// "3. Latest news\n" -> "Latest news".
std::string LinkText(const std::string& numbered) {
    const size_t dot = numbered.find(". ");
    std::string text = dot == std::string::npos ? numbered : numbered.substr(dot + 2);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

}  // namespace

std::vector<ItemOutcome> RunOutcomes(CollectHost& host, const ItemList& list) {
    std::vector<ItemOutcome> outcomes;
    ItemRows& rows = host.Rows();
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int data = rows.GetItemData(row);
        if (IsDisabledData(data)) continue;
        const int number = ItemNumberFromData(data);
        std::optional<RowReasons::Entry> collected = list.reasons.Find(number);
        if (!collected || collected->run != list.runSerial) continue;
        const ItemRecord item = host.ReadItem(number);
        ItemOutcome outcome;
        outcome.number = number;
        outcome.url = item.url;
        outcome.filter = item.filter;
        outcome.result = rows.GetItemText(row, 2);
        outcome.reason = std::move(collected->reason);
        const std::string entries = list.results.Entries(ItemKey(number)).value_or("");
        for (const EntryPiece& piece : SplitEntries(entries)) {
            if (std::optional<std::string> url = list.links.Lookup(piece.marker))
                outcome.entries.push_back({std::move(*url), LinkText(piece.text)});
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

}  // namespace pagelark
