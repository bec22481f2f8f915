#include "files/HistoryJson.h"

#include <cstdio>
#include <ctime>

namespace pagelark {

nlohmann::ordered_json HistoryTimeJson(std::int64_t time) {
    if (time == 0) return nullptr;
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return nullptr;
    char text[64];
    if (std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local) == 0) return nullptr;
    // The offset as ISO 8601 writes it beside a time with colons: +02:00.
    const long offset = local.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    char zone[32];
    std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return std::string(text) + zone;
}

nlohmann::ordered_json HistoryListJson(const TrackedItem& item, size_t first) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (size_t i = first; i < item.history.size(); ++i)
        list.push_back(
            {{"result", item.history[i].result}, {"time", HistoryTimeJson(item.history[i].time)}});
    return list;
}

size_t CurrentEntries(const TrackedItem& item, const std::string& shownResult, bool good) {
    return good && !item.history.empty() && item.history.front().result == shownResult ? 1 : 0;
}

}  // namespace pagelark
