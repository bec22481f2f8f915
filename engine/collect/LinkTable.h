#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// Link markers in flattened text: "__A<number>;" opens a link, "__A;" closes it.
inline constexpr std::string_view kClosingMarker = "__A;";
std::string OpeningMarker(int number);

// Orders opening markers by their link number (shorter digit runs first), so a
// LinkMap iterates in the order the links were found.
struct MarkerLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

// Opening marker -> absolute URL of the link.
using LinkMap = std::map<std::string, std::string, MarkerLess>;

// LinkMap and linkCounter with the link lock that guards them. Flattening
// records links on the worker thread; the window reads them.
class LinkTable {
  public:
    // Stores url under the marker of the current counter value and advances the
    // counter. When that marker would be longer than maxMarkerBytes nothing is
    // stored and an empty text is returned.
    std::string Record(std::string url, size_t maxMarkerBytes = std::string::npos);

    std::optional<std::string> Lookup(std::string_view marker) const;
    LinkMap Snapshot() const;
    int LinkCounter() const;

    // For a table of one page's links that is merged later: numbering starts
    // at `counter` (the shared table's counter at that moment).
    void StartAt(int counter);
    // Takes over the links of `page` and its counter, which went on from this
    // table's counter.
    void Adopt(LinkTable& page);

    // Empties LinkMap; the counter goes on (Load).
    void ClearLinks();
    // Empties LinkMap and sets the counter to 0 (New).
    void Reset();

  private:
    mutable std::mutex m_lock;
    int m_linkCounter = 0;
    LinkMap m_linkMap;
};

}  // namespace pagelark
