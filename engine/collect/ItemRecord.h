#pragma once

#include <string>

#include "engine/collect/ItemState.h"
#include "engine/page/ExtractResult.h"

namespace pagelark {

// One watched item and what its last collection found. The program keeps these
// fields spread over the live store, the report row and the maps of ItemList;
// this record is how they travel together (snapshots, the CLI, tests).
struct ItemRecord {
    int number = 0;  // 1 to 9999
    std::string name;
    std::string filter;
    std::string url;
    bool render = false;  // "Render the page first": the browser engine loads the page
    bool enabled = true;
    ItemState state = ItemState::Ready;
    std::string result;      // at most kResultBytes bytes
    std::string lastUpdate;  // "%I:%M:%S %p"
    std::string entries;
    std::string preview;
    int previewHeight = 0;  // 0 = no preview band
};

// An item as the list defines it, before anything was collected.
inline ItemRecord DefinedItem(int number, std::string name, std::string filter, std::string url) {
    ItemRecord item;
    item.number = number;
    item.name = std::move(name);
    item.filter = std::move(filter);
    item.url = std::move(url);
    return item;
}

}  // namespace pagelark
