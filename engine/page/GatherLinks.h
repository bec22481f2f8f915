#pragma once

#include <string>
#include <string_view>

namespace pagelark {

struct GatheredLinks {
    int count = 0;
    std::string entries;  // the entries text, empty when nothing was gathered
};

// Collects up to `most` links whose trimmed text has at least `least` bytes
// from a segment of flattened text, in text order, numbered from 1.
GatheredLinks GatherLinks(std::string_view segment, int most, int least);

}  // namespace pagelark
