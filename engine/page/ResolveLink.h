#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The absolute URL of a link value found on the page at `base`. An empty value
// or a fragment ("#top") is appended to the base as it stands; a value with a
// scheme is kept; anything else is resolved as RFC 3986 resolves a relative
// reference, with no normalisation beyond removing dot segments.
std::string ResolveLink(std::string_view base, std::string_view value);

// ResolveLink with the base taken apart once, for the many links of one page.
// The base text must outlive the resolver.
class LinkResolver {
  public:
    explicit LinkResolver(std::string_view base);
    std::string Resolve(std::string_view value) const;

  private:
    std::string_view m_base;    // trimmed
    std::string_view m_scheme;  // empty when the base has none
    std::optional<std::string_view> m_authority;
    std::string_view m_path;
    std::optional<std::string_view> m_query;
};

}  // namespace pagelark
