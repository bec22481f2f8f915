#pragma once

#include <set>
#include <string>

namespace pagelark {

class ItemRows;
class ResultMaps;

// The rows in list order as one line of JSON, the form pagelark-cli prints
// with --json and the command run on changes reads: an array of objects
// {"number", "state", "name", "result", "last_update", "entries", "changed"},
// "changed" being whether the item's number is in `changed`. With
// changedOnly, only those rows. Bytes that are not UTF-8 become U+FFFD.
std::string RowsJson(ItemRows& rows, const ResultMaps& results, const std::set<int>& changed,
                     bool changedOnly);

}  // namespace pagelark
