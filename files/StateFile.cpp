#include "files/StateFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "engine/collect/ItemNumber.h"
#include "files/SafeFile.h"

namespace pagelark {
namespace {

constexpr int kFormat = 1;

nlohmann::json UrlList(const auto& urls) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& url : urls)
        list.push_back(url);
    return list;
}

bool ReadUrls(const nlohmann::json& value, auto&& add) {
    if (!value.is_array()) return false;
    for (const nlohmann::json& url : value) {
        if (!url.is_string()) return false;
        add(url.get<std::string>());
    }
    return true;
}

std::optional<TrackedItem> ReadItem(const nlohmann::json& value) {
    if (!value.is_object()) return std::nullopt;
    const auto number = value.find("number");
    if (number == value.end() || !number->is_number_integer()) return std::nullopt;
    TrackedItem item;
    const long long n = number->get<long long>();
    if (n < 1 || n > kMaxItemNumber) return std::nullopt;
    item.last.number = static_cast<int>(n);
    for (auto [key, field] :
         {std::pair{"url", &item.last.url}, std::pair{"filter", &item.last.filter},
          std::pair{"result", &item.last.result}}) {
        const auto found = value.find(key);
        if (found == value.end() || !found->is_string()) return std::nullopt;
        *field = found->get<std::string>();
    }
    const auto changed = value.find("changed");
    if (changed == value.end() || !changed->is_boolean()) return std::nullopt;
    item.changed = changed->get<bool>();
    const auto entries = value.find("entries");
    const auto fresh = value.find("new_entries");
    if (entries == value.end() || fresh == value.end()) return std::nullopt;
    if (!ReadUrls(*entries,
                  [&](std::string url) { item.last.entryUrls.push_back(std::move(url)); }))
        return std::nullopt;
    if (!ReadUrls(*fresh, [&](std::string url) { item.newEntryUrls.insert(std::move(url)); }))
        return std::nullopt;
    return item;
}

}  // namespace

std::string StateFileText(const ChangeTracker::Items& items) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& [number, item] : items) {
        list.push_back({{"number", number},
                        {"url", item.last.url},
                        {"filter", item.last.filter},
                        {"result", item.last.result},
                        {"entries", UrlList(item.last.entryUrls)},
                        {"changed", item.changed},
                        {"new_entries", UrlList(item.newEntryUrls)}});
    }
    const nlohmann::json file = {{"format", kFormat}, {"items", std::move(list)}};
    // Results are cut at a byte limit and may end inside a character: such
    // bytes are replaced rather than refusing the whole file.
    return file.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::optional<ChangeTracker::Items> ParseStateFile(std::string_view text) {
    const nlohmann::json file = nlohmann::json::parse(text, nullptr, false);
    if (!file.is_object()) return std::nullopt;
    const auto format = file.find("format");
    const auto list = file.find("items");
    if (format == file.end() || *format != kFormat || list == file.end() || !list->is_array())
        return std::nullopt;
    ChangeTracker::Items items;
    for (const nlohmann::json& value : *list) {
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
