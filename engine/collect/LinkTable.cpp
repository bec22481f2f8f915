#include "engine/collect/LinkTable.h"

#include <algorithm>
#include <limits>

#include "engine/collect/PageLinks.h"
#include "engine/page/EntryText.h"

namespace pagelark {

std::string LinkTable::Record(std::string url, size_t maxMarkerBytes) {
    const std::lock_guard<std::mutex> hold(m_lock);
    if (m_linkCounter == std::numeric_limits<LinkNumber>::max()) return {};
    std::string marker = OpeningMarker(m_linkCounter);
    if (marker.size() > maxMarkerBytes) return {};
    ++m_linkCounter;
    // Markers are made in rising order, so the new one normally goes last.
    const auto hint = m_links.empty() || MarkerLess()(std::prev(m_links.end())->first, marker)
                          ? m_links.end()
                          : m_links.lower_bound(marker);
    if (hint != m_links.end() && hint->first == marker)
        hint->second = Kept{std::move(url), 0};
    else
        m_links.emplace_hint(hint, marker, Kept{std::move(url), 0});
    return marker;
}

std::optional<std::string> LinkTable::Lookup(std::string_view marker) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    const auto it = m_links.find(marker);
    if (it == m_links.end()) return std::nullopt;
    return it->second.url;
}

LinkMap LinkTable::Snapshot() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    LinkMap map;
    for (const auto& [marker, kept] : m_links)
        map.emplace_hint(map.end(), marker, kept.url);
    return map;
}

size_t LinkTable::Size() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_links.size();
}

LinkNumber LinkTable::LinkCounter() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_linkCounter;
}

void LinkTable::Advance(const PageLinks& page) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_linkCounter = std::max(m_linkCounter, page.NextNumber());
}

void LinkTable::Keep(std::string_view entries, const PageLinks& page) {
    if (entries.empty()) return;
    const std::vector<EntryPiece> pieces = SplitEntries(entries);
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const EntryPiece& piece : pieces) {
        const auto found = m_links.find(piece.marker);
        if (found != m_links.end()) {
            if (found->second.holders > 0) ++found->second.holders;
            continue;
        }
        if (const std::optional<std::string_view> url = page.Lookup(piece.marker))
            m_links.emplace(piece.marker, Kept{std::string(*url), 1});
    }
}

void LinkTable::Release(std::string_view entries) {
    if (entries.empty()) return;
    const std::vector<EntryPiece> pieces = SplitEntries(entries);
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const EntryPiece& piece : pieces) {
        const auto found = m_links.find(piece.marker);
        if (found == m_links.end() || found->second.holders == 0) continue;
        if (--found->second.holders == 0) m_links.erase(found);
    }
}

void LinkTable::ClearLinks() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_links.clear();
}

void LinkTable::Reset() {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_links.clear();
    m_linkCounter = 0;
}

}  // namespace pagelark
