#pragma once

#include <cstddef>
#include <string>

// Pages made up to look like a news site, a shop and a forum, for measuring
// the filter builder: the same bytes for the same kind, seed and size. They
// hold what makes picking hard on real pages: a title and structured data
// that repeat the visible headline, scripts and styles, entities, tags inside
// words, source lines that break inside paragraphs, prices, dates and
// counters everywhere, and the same texts ("Reply", "Add to basket") on every
// entry.
namespace pagelark::bench {

enum class PageKind { News, Shop, Forum };

std::string MakePickPage(PageKind kind, unsigned seed, size_t bytes);

}  // namespace pagelark::bench
