#include "files/StateFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "engine/collect/ItemNumber.h"
#include "engine/page/ExtractResult.h"
#include "files/SafeFile.h"

namespace pagelark {
namespace {

constexpr int kFormat = 1;

using Json = nlohmann::json;

Json UrlList(const auto& urls) {
    Json list = Json::array();
    for (const std::string& url : urls)
        list.push_back(url);
    return list;
}

Json LinkList(const std::vector<EntryLink>& links) {
    Json list = Json::array();
    for (const EntryLink& link : links)
        list.push_back({{"url", link.url}, {"text", link.text}});
    return list;
}

bool ReadUrls(const Json& value, auto&& add) {
    if (!value.is_array()) return false;
    for (const Json& url : value) {
        if (!url.is_string()) return false;
        add(url.get<std::string>());
    }
    return true;
}

bool ReadText(const Json& object, const char* key, std::string& into) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_string()) return false;
    into = found->get<std::string>();
    return true;
}

bool ReadLinks(const Json& value, std::vector<EntryLink>& links) {
    if (!value.is_array()) return false;
    for (const Json& item : value) {
        EntryLink link;
        if (!item.is_object() || !ReadText(item, "url", link.url) ||
            !ReadText(item, "text", link.text))
            return false;
        links.push_back(std::move(link));
    }
    return true;
}

std::optional<HistoryEntry> ReadHistoryEntry(const Json& value) {
    HistoryEntry entry;
    if (!value.is_object() || !ReadText(value, "result", entry.result)) return std::nullopt;
    const auto time = value.find("time");
    if (time == value.end() || !time->is_number_integer()) return std::nullopt;
    entry.time = time->get<std::int64_t>();
    if (const auto fresh = value.find("new_entries"); fresh != value.end()) {
        if (!ReadLinks(*fresh, entry.newEntries)) return std::nullopt;
    }
    return entry;
}

std::optional<RowReason> ReadReason(const Json& value) {
    RowReason reason;
    std::string kind;
    if (!value.is_object() || !ReadText(value, "kind", kind) ||
        !ReadText(value, "detail", reason.detail))
        return std::nullopt;
    const auto number = value.find("number");
    if (number == value.end() || !number->is_number_integer()) return std::nullopt;
    reason.number = number->get<long>();
    if (const std::optional<RowReason::Kind> known = KindNamed(kind)) {
        reason.kind = *known;
    } else {
        // A kind a newer program knows: its name is all this one can say.
        reason.kind = RowReason::Kind::FetchFailed;
        reason.detail = kind;
    }
    return reason;
}

// The fields added after the first format; each may be missing.
bool ReadWatchFields(const Json& value, TrackedItem& item) {
    if (const auto history = value.find("history"); history != value.end()) {
        if (!history->is_array()) return false;
        for (const Json& entry : *history) {
            std::optional<HistoryEntry> read = ReadHistoryEntry(entry);
            if (!read) return false;
            item.history.push_back(std::move(*read));
        }
    } else if (item.last.result != kNotAvailable) {
        // An older program's file: its Result is the one good Result known,
        // since when is not.
        item.history.push_back({item.last.result, 0, {}});
    }
    if (const auto pending = value.find("pending"); pending != value.end()) {
        item.pending = ReadHistoryEntry(*pending);
        if (!item.pending) return false;
    }
    if (const auto failures = value.find("failures"); failures != value.end()) {
        if (!failures->is_number_integer() || failures->get<long long>() < 0) return false;
        item.failures = static_cast<int>(std::min<long long>(failures->get<long long>(), 1 << 30));
    }
    if (const auto attention = value.find("attention"); attention != value.end()) {
        if (!attention->is_boolean()) return false;
        item.attention = attention->get<bool>();
    }
    if (const auto reason = value.find("reason"); reason != value.end()) {
        std::optional<RowReason> read = ReadReason(*reason);
        if (!read) return false;
        item.reason = std::move(*read);
    }
    return true;
}

std::optional<TrackedItem> ReadItem(const Json& value) {
    if (!value.is_object()) return std::nullopt;
    const auto number = value.find("number");
    if (number == value.end() || !number->is_number_integer()) return std::nullopt;
    TrackedItem item;
    const long long n = number->get<long long>();
    if (n < 1 || n > kMaxItemNumber) return std::nullopt;
    item.last.number = static_cast<int>(n);
    if (!ReadText(value, "url", item.last.url) || !ReadText(value, "filter", item.last.filter) ||
        !ReadText(value, "result", item.last.result))
        return std::nullopt;
    const auto changed = value.find("changed");
    if (changed == value.end() || !changed->is_boolean()) return std::nullopt;
    item.changed = changed->get<bool>();
    const auto entries = value.find("entries");
    const auto fresh = value.find("new_entries");
    if (entries == value.end() || fresh == value.end()) return std::nullopt;
    if (!ReadUrls(*entries, [&](std::string url) {
            item.last.entries.push_back({std::move(url), {}});
        }))
        return std::nullopt;
    if (!ReadUrls(*fresh, [&](std::string url) { item.newEntryUrls.insert(std::move(url)); }))
        return std::nullopt;
    if (!ReadWatchFields(value, item)) return std::nullopt;
    return item;
}

Json HistoryJson(const HistoryEntry& entry) {
    return {{"result", entry.result},
            {"time", entry.time},
            {"new_entries", LinkList(entry.newEntries)}};
}

}  // namespace

std::string StateFileText(const ChangeTracker::Items& items) {
    Json list = Json::array();
    for (const auto& [number, item] : items) {
        std::vector<std::string> urls;
        for (const EntryLink& link : item.last.entries)
            urls.push_back(link.url);
        Json history = Json::array();
        for (const HistoryEntry& entry : item.history)
            history.push_back(HistoryJson(entry));
        Json value = {{"number", number},
                      {"url", item.last.url},
                      {"filter", item.last.filter},
                      {"result", item.last.result},
                      {"entries", UrlList(urls)},
                      {"changed", item.changed},
                      {"new_entries", UrlList(item.newEntryUrls)},
                      {"history", std::move(history)},
                      {"failures", item.failures},
                      {"attention", item.attention}};
        if (item.pending)
            value["pending"] = {{"result", item.pending->result}, {"time", item.pending->time}};
        if (!item.reason.Good())
            value["reason"] = {{"kind", KindInfo(item.reason.kind).name},
                               {"number", item.reason.number},
                               {"detail", item.reason.detail}};
        list.push_back(std::move(value));
    }
    const Json file = {{"format", kFormat}, {"items", std::move(list)}};
    // Results are cut at a byte limit and may end inside a character: such
    // bytes are replaced rather than refusing the whole file.
    return file.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<ChangeTracker::Items> ParseStateFile(std::string_view text) {
    const Json file = Json::parse(text, nullptr, false);
    if (!file.is_object()) return std::nullopt;
    const auto format = file.find("format");
    const auto list = file.find("items");
    if (format == file.end() || *format != kFormat || list == file.end() || !list->is_array())
        return std::nullopt;
    ChangeTracker::Items items;
    for (const Json& value : *list) {
        std::optional<TrackedItem> item = ReadItem(value);
        if (!item) return std::nullopt;
        const int number = item->last.number;
        items[number] = std::move(*item);
    }
    return items;
}

StateRead ReadStateFile(const std::string& path) {
    StateRead read;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno != ENOENT) read.problem = std::strerror(errno);
        return read;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        read.problem = "the file could not be read";
        return read;
    }
    std::optional<ChangeTracker::Items> items = ParseStateFile(bytes.str());
    if (!items) {
        read.problem = "the file is damaged";
        return read;
    }
    read.items = std::move(*items);
    return read;
}

bool MakeStateFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path path(folder);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    // Never wider than 0700, not even for a moment; chmod then narrows a
    // folder that was there before and gives back what a strict umask took.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat existing {};
    return ::stat(folder.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode) &&
           ((existing.st_mode & 07777) == 0700 || ::chmod(folder.c_str(), 0700) == 0);
}

bool WriteStateFile(const std::string& path, const ChangeTracker::Items& items,
                    std::string* error) {
    // What a user watches is nobody else's business.
    return WriteFileSafely(path, StateFileText(items), error, SafeFile::Access::OwnerOnly);
}

}  // namespace pagelark
