#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/watch/ChangeTracker.h"

namespace pagelark {

// The state file keeps each item's last good outcome, its history and its
// marks between program starts, beside (never inside) the script file. It is
// JSON:
//   {"format": 1, "items": [{"number": 1, "url": "...", "filter": "...",
//     "result": "...", "entries": ["url", ...], "changed": false,
//     "new_entries": ["url", ...],
//     "history": [{"result": "...", "time": 1767225600,
//                  "new_entries": [{"url": "...", "text": "..."}, ...]}, ...],
//     "pending": {"result": "...", "time": ...},
//     "failures": 0, "attention": false,
//     "reason": {"kind": "http-status", "number": 404, "detail": ""}}, ...]}
// "result" and "entries" are the last good run's; "history" holds the good
// Results newest first with the time each first appeared (seconds since
// 1970, 0 when not known). "pending" and "reason" are left out when there is
// none. The fields from "history" on were added later: a file without them
// (an older program's) reads as it always did, its "result" becoming the
// first entry of the history, and an older program reads a newer file as
// before, leaving them aside.
std::string StateFileText(const ChangeTracker::Items& items);

// Nothing when the text is not such a file.
std::optional<ChangeTracker::Items> ParseStateFile(std::string_view text);

struct StateRead {
    ChangeTracker::Items items;
    // Why an existing file could not be used; "" when it was read or is
    // missing (no earlier run, nothing to report).
    std::string problem;
};
StateRead ReadStateFile(const std::string& path);

// Creates the folder that holds the window's state files, and its parents,
// readable by its owner alone (0700); a folder made wider before is narrowed.
// False when it cannot be made.
bool MakeStateFolder(const std::string& folder);

// Through the safe writer, readable by its owner alone: the old file stays
// whole when writing fails.
bool WriteStateFile(const std::string& path, const ChangeTracker::Items& items,
                    std::string* error = nullptr);

}  // namespace pagelark
