#include "engine/collect/LinkTable.h"

namespace pagelark {

std::string LinkTable::Record(std::string url, size_t maxMarkerBytes) {
    const std::lock_guard<std::mutex> hold(m_lock);
    std::string marker = OpeningMarker(m_linkCounter);
    if (marker.size() > maxMarkerBytes) return {};
    ++m_linkCounter;
    // Markers are made in rising order, so the new one normally goes last.
    const auto hint = m_linkMap.empty() || MarkerLess()(std::prev(m_linkMap.end())->first, marker)
                          ? m_linkMap.end()
                          : m_linkMap.lower_bound(marker);
    if (hint != m_linkMap.end() && hint->first == marker)
        hint->second = std::move(url);
    else
        m_linkMap.emplace_hint(hint, marker, std::move(url));
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

void LinkTable::StartAt(int counter) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_linkCounter = counter;
}

void LinkTable::Adopt(LinkTable& page) {
    if (&page == this) return;
    const std::scoped_lock hold(m_lock, page.m_lock);
    for (auto& [marker, url] : page.m_linkMap)
        m_linkMap.insert_or_assign(marker, std::move(url));
    page.m_linkMap.clear();
    m_linkCounter = page.m_linkCounter;
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
