#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/watch/ChangeTracker.h"

namespace pagelark {

// The state file keeps each item's last outcome and its marks between program
// starts, beside (never inside) the script file. It is JSON:
//   {"format": 1, "items": [{"number": 1, "url": "...", "filter": "...",
//     "result": "...", "entries": ["url", ...], "changed": false,
//     "new_entries": ["url", ...]}, ...]}
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
