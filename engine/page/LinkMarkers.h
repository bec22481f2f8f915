#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

// Link markers in flattened text: "__A<number>;" opens a link, "__A;" closes it.
inline constexpr std::string_view kClosingMarker = "__A;";

// Link numbers go on across runs for as long as the list lives. 64 bits never
// run out at any rate pages can be fetched; the recorders still stop at the
// top rather than wrap.
using LinkNumber = std::int64_t;
std::string OpeningMarker(LinkNumber number);

// Orders opening markers by their link number (shorter digit runs first), so a
// map keyed by markers iterates in the order the links were found.
struct MarkerLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

// Where flattening keeps the links it numbers. The item list's link table is
// one; flattening knows nothing else of it.
class LinkRecorder {
  public:
    virtual ~LinkRecorder() = default;
    // Stores url under the marker of the next link number and returns that
    // marker. When the marker would be longer than maxMarkerBytes nothing is
    // stored, the number is not used up, and an empty text is returned.
    virtual std::string Record(std::string url, size_t maxMarkerBytes) = 0;
};

}  // namespace pagelark
