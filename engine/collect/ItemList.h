#pragma once

#include "engine/collect/LinkTable.h"
#include "engine/collect/PageCache.h"
#include "engine/collect/ResultMaps.h"
#include "engine/collect/RowReasons.h"

namespace pagelark {

// What collection gathers for the whole list and how items and links are
// numbered. The live item store and the report rows that complete the list
// belong to their owners (the main window, or the CLI's in-memory host).
struct ItemList {
    ResultMaps results;  // EntryMap and PreviewMap
    LinkTable links;     // LinkMap and linkCounter
    PageCache pageCache;
    RowReasons reasons;  // why rows have no good Result
    int nextItemNumber = 0;
    // Counts the runs started (on the list's thread), so a run's own rows can
    // be told from rows it did not reach.
    unsigned runSerial = 0;

    // The number for an item being added, or 0 once the number space is used up.
    int TakeItemNumber();

    // Removes an item's entries, preview and reason (a new run of it, Edit,
    // Delete) and lets go of the links its entries pointed to.
    void RemoveResults(std::string_view key);

    // Empties the maps and restarts item numbering (New and Load); New also
    // restarts link numbering.
    void Empty(bool resetLinkCounter);
};

}  // namespace pagelark
