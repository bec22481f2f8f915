#include "engine/collect/ItemList.h"

#include "engine/collect/ItemNumber.h"

namespace pagelark {

int ItemList::TakeItemNumber() {
    if (nextItemNumber >= kMaxItemNumber) return 0;
    return ++nextItemNumber;
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
