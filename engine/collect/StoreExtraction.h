#pragma once

namespace pagelark {

struct Extraction;
class ItemRows;
class ResultMaps;

// Writes what an extraction gathered into the list: the item's entries and
// preview under its number (read from the row's data) and the row's preview
// height. An extraction that gathered nothing writes nothing.
void StoreExtraction(const Extraction& extraction, int row, ItemRows& rows, ResultMaps& maps);

}  // namespace pagelark
