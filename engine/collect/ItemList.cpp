#include "engine/collect/ItemList.h"

#include <cstdlib>

#include "engine/collect/ItemNumber.h"

namespace pagelark {

int ItemList::TakeItemNumber() {
    if (nextItemNumber >= kMaxItemNumber) return 0;
    return ++nextItemNumber;
}

void ItemList::RemoveResults(std::string_view key) {
    if (const std::optional<std::string> entries = results.Entries(key)) links.Release(*entries);
    results.Remove(key);
    reasons.Remove(std::atoi(std::string(key).c_str()));
}

void ItemList::Empty(bool resetLinkCounter) {
    results.Clear();
    reasons.Clear();
    if (resetLinkCounter)
        links.Reset();
    else
        links.ClearLinks();
    nextItemNumber = 0;
}

}  // namespace pagelark
