#pragma once

#include <cstddef>
#include <string>

namespace pagelark::bench {

// A news-site page of about `bytes` bytes: head with styles and scripts,
// navigation, articles with inline markup, entities and link lists, a
// "Latest" list near the end and a price line, the same bytes every time.
std::string MakeNewsPage(size_t bytes);

}  // namespace pagelark::bench
