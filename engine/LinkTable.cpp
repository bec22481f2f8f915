#include "engine/LinkTable.h"

namespace pagelark {

std::string OpeningMarker(int number) { return "__A" + std::to_string(number) + ";"; }

std::string LinkTable::Record(std::string_view url, size_t maxMarkerBytes) {
    const std::lock_guard<std::mutex> hold(m_lock);
    std::string marker = OpeningMarker(m_linkCounter);
    if (marker.size() > maxMarkerBytes) return {};
    ++m_linkCounter;
    m_linkMap.insert_or_assign(marker, std::string(url));
    return marker;
}

std::optional<std::string> LinkTable::Lookup(std::string_view marker) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_linkMap.find(marker);
    if (it == m_linkMap.end()) return std::nullopt;
    return it->second;
}

LinkMap LinkTable::Snapshot() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_linkMap;
}

int LinkTable::LinkCounter() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_linkCounter;
}

void LinkTable::ClearLinks() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_linkMap.clear();
}

void LinkTable::Reset() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_linkMap.clear();
    m_linkCounter = 0;
}

}  // namespace pagelark
