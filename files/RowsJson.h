#pragma once

#include <functional>
#include <string>

#include "engine/collect/RowReason.h"

namespace pagelark {

class ChangeTracker;
class ItemRows;
struct ItemList;
struct RunMarks;

// A row's reason in words (English in JSON, whatever the window shows).
using ReasonWordsOf = std::function<std::string(const RowReason&)>;

// The rows in list order as one line of JSON, the form pagelark-cli prints
// with --json and the command run on changes reads: an array of objects
// {"number", "state", "name", "result", "last_update", "entries", "changed",
// "reason", "attention", "history"}: "changed" whether the run marked the
// item changed, "reason" why the row has no good Result ("" when it has
// one), "attention" whether the item has had no good Result for the
// tracker's number of runs, and "history" its earlier good Results (not the
// one the row shows), newest first, as {"result", "time"}. With markedOnly,
// only the rows the run marked changed or as needing attention. Bytes that
// are not UTF-8 become U+FFFD.
std::string RowsJson(ItemRows& rows, const ItemList& list, const ChangeTracker& tracker,
                     const RunMarks& marks, bool markedOnly, const ReasonWordsOf& words);

}  // namespace pagelark
