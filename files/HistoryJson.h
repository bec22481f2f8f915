#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "engine/watch/ChangeTracker.h"

namespace pagelark {

// A time of the history as JSON shows it: local time with its offset,
// "2026-05-03T14:05:09+02:00"; null when the time is not known (0).
nlohmann::ordered_json HistoryTimeJson(std::int64_t time);

// An item's history, newest first, as {"result", "time"} objects; entries
// from `first` on, so 1 leaves out the Result the row shows now.
nlohmann::ordered_json HistoryListJson(const TrackedItem& item, size_t first = 0);

// How many of the newest entries are not "earlier" than the row: 1 when the
// row's run was good and shows the newest Result, else 0.
size_t CurrentEntries(const TrackedItem& item, const std::string& shownResult, bool good);

}  // namespace pagelark
