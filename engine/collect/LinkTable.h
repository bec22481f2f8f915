#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "engine/page/LinkMarkers.h"

namespace pagelark {

// Opening marker -> absolute URL of the link.
using LinkMap = std::map<std::string, std::string, MarkerLess>;

// LinkMap and linkCounter with the link lock that guards them. Flattening
// records links on the worker thread; the window reads them.
class LinkTable : public LinkRecorder {
  public:
    // Stores url under the marker of the current counter value and advances the
    // counter. When that marker would be longer than maxMarkerBytes nothing is
    // stored and an empty text is returned.
    std::string Record(std::string url, size_t maxMarkerBytes = std::string::npos) override;

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
