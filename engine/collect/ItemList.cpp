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
}

void ItemList::Empty(bool resetLinkCounter) {
    results.Clear();
    if (resetLinkCounter)
        links.Reset();
    else
        links.ClearLinks();
    nextItemNumber = 0;
}

}  // namespace pagelark
