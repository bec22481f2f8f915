#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "engine/page/LinkMarkers.h"

namespace pagelark {

class PageLinks;

// Opening marker -> absolute URL of the link.
using LinkMap = std::map<std::string, std::string, MarkerLess>;

// LinkMap and linkCounter with the link lock that guards them. The worker
// changes them on the list's thread; the window reads them for the snapshot
// and the detail window.
//
// The map holds the links that some item's entries point to, each with the
// number of items that point to it: a page's other links live with the page
// (PageLinks) and go with it, so repeated runs do not pile up links. The
// counter still counts every link, so each number is the one a table that
// kept everything would have given.
class LinkTable : public LinkRecorder {
  public:
    // Stores url under the marker of the current counter value and advances the
    // counter; the link stays until the map is emptied. When that marker would
    // be longer than maxMarkerBytes, or the counter is at its top, nothing is
    // stored and an empty text is returned.
    std::string Record(std::string url, size_t maxMarkerBytes = std::string::npos) override;

    std::optional<std::string> Lookup(std::string_view marker) const;
    LinkMap Snapshot() const;
    size_t Size() const;
    LinkNumber LinkCounter() const;

    // The counter moves past the links of a page numbered from it.
    void Advance(const PageLinks& page);
    // Keeps the links that an item's new entries point to: each from `page`
    // or, when the page did not make it, from what the map already holds.
    void Keep(std::string_view entries, const PageLinks& page);
    // The item's entries are gone: links no other item points to go too.
    void Release(std::string_view entries);

    // Empties LinkMap; the counter goes on (Load).
    void ClearLinks();
    // Empties LinkMap and sets the counter to 0 (New).
    void Reset();

  private:
    struct Kept {
        std::string url;
        int holders =
            0;  // items whose entries point here; 0: recorded directly, kept until emptied
    };

    mutable std::mutex m_lock;
    LinkNumber m_linkCounter = 0;
    std::map<std::string, Kept, MarkerLess> m_links;
};

}  // namespace pagelark
