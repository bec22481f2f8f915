#include "engine/collect/ResultMaps.h"

namespace pagelark {

namespace {
std::optional<std::string> Find(const std::map<std::string, std::string, std::less<>>& map,
                                std::string_view key) {
    const auto it = map.find(key);
    if (it == map.end()) return std::nullopt;
    return it->second;
}
}  // namespace

void ResultMaps::SetEntries(std::string_view key, std::string entries) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entryMap.insert_or_assign(std::string(key), std::move(entries));
}

void ResultMaps::SetPreview(std::string_view key, std::string preview) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_previewMap.insert_or_assign(std::string(key), std::move(preview));
}

std::optional<std::string> ResultMaps::Entries(std::string_view key) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return Find(m_entryMap, key);
}

std::optional<std::string> ResultMaps::Preview(std::string_view key) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return Find(m_previewMap, key);
}

void ResultMaps::Remove(std::string_view key) {
    const std::lock_guard<std::mutex> hold(m_lock);
    if (const auto it = m_entryMap.find(key); it != m_entryMap.end()) m_entryMap.erase(it);
    if (const auto it = m_previewMap.find(key); it != m_previewMap.end()) m_previewMap.erase(it);
}

void ResultMaps::Clear() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entryMap.clear();
    m_previewMap.clear();
}

EntryMap ResultMaps::EntriesSnapshot() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_entryMap;
}

}  // namespace pagelark
