#include "engine/collect/ItemList.h"

#include "engine/collect/ItemNumber.h"

namespace pagelark {

int ItemList::TakeItemNumber() {
    if (nextItemNumber >= kMaxItemNumber) return 0;
    return ++nextItemNumber;
}

void ItemList::RemoveResults(std::string_view key) {
    if (const std::optional<std::string> entries = results.Entries(key)) links.Release(*entries);
    results.Remove(key);
    if (const auto failure = renderFailures.find(key); failure != renderFailures.end())
        renderFailures.erase(failure);
}

void ItemList::Empty(bool resetLinkCounter) {
    results.Clear();
    renderFailures.clear();
    if (resetLinkCounter)
        links.Reset();
    else
        links.ClearLinks();
    nextItemNumber = 0;
}

}  // namespace pagelark
