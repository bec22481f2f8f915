#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// The absolute URL of a link value found on the page at `base`. An empty value
// or a fragment ("#top") is appended to the base as it stands; a value with a
// scheme is kept; anything else is resolved as RFC 3986 resolves a relative
// reference, with no normalisation beyond removing dot segments.
std::string ResolveLink(std::string_view base, std::string_view value);

}  // namespace pagelark
