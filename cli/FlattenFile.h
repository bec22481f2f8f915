#pragma once

#include <string>
#include <string_view>

namespace pagelark {
class LinkTable;
}

namespace pagelark::cli {

// Flattens a whole file's bytes with an output buffer large enough for any
// page (an anchor tag of 10 bytes yields at most 16).
std::string FlattenWhole(std::string_view page, std::string_view base, LinkTable& links);

}  // namespace pagelark::cli
