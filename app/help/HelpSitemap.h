#pragma once

#include <string>
#include <string_view>
#include <vector>

// The contents (.hhc) and index (.hhk) files of a compiled help file: nested
// <UL> lists of <OBJECT type="text/sitemap"> entries, each with
// <param name="Name" value="..."> and <param name="Local" value="...">.
namespace pagelark {

struct SitemapEntry {
    std::string name;
    std::string local;  // the topic as written, relative to the file's root
    int depth = 0;      // 0 for the outermost list
};

// The entries in document order. Anything that is not a sitemap object is
// skipped; unclosed tags end the reading.
std::vector<SitemapEntry> ParseSitemap(std::string_view text);

}  // namespace pagelark
