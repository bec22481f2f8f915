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

// Through the safe writer: the old file stays whole when writing fails.
bool WriteStateFile(const std::string& path, const ChangeTracker::Items& items,
                    std::string* error = nullptr);

}  // namespace pagelark
