#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/page/LinkMarkers.h"

namespace pagelark {

// The links one page's flattening numbered, from the list's link counter at
// that moment on. The page keeps them while its text is in use; the list
// keeps only those that an item's entries point to (LinkTable::Keep).
class PageLinks : public LinkRecorder {
  public:
    explicit PageLinks(LinkNumber first = 0) : m_first(first) {}

    std::string Record(std::string url, size_t maxMarkerBytes) override;

    // The URL under an opening marker this page made, or nothing.
    std::optional<std::string_view> Lookup(std::string_view marker) const;
    // The number the next link will take (past this page's links).
    LinkNumber NextNumber() const { return m_first + static_cast<LinkNumber>(m_urls.size()); }

  private:
    const LinkNumber m_first;
    std::vector<std::string> m_urls;  // by link number less m_first
};

// The number in an opening marker ("__A12;" gives 12), or nothing for any
// other text.
std::optional<LinkNumber> MarkerNumber(std::string_view marker);

}  // namespace pagelark
