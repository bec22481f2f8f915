#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

enum class FilterMode { Data, Para, Href };

// A Filter line, START "#" MODE ["," P0 ["," P1 ["," P2]]] "#" END, taken apart.
struct Filter {
    std::string start;
    FilterMode mode = FilterMode::Data;
    std::vector<std::string> params;  // trimmed, in order; extra ones are kept but unused
    std::string end;

    // The near text of P2 ("NEAR text", any letter case), if P2 is a near clause.
    std::optional<std::string_view> NearText() const;
};

// None when the Filter has fewer than two "#", an empty START or an unknown MODE.
std::optional<Filter> ParseFilter(std::string_view text);

}  // namespace pagelark
