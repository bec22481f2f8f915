#pragma once

#include <string>
#include <string_view>

namespace pagelark {

class ItemRows;
class ResultMaps;

inline constexpr std::string_view kNotAvailable = "N/A";

// Applies an item's Filter to the flattened text of its page and returns the
// Result: words (DATA, PARA), "%d Items Found" (HREF) or "N/A". In HREF mode
// with at least one link gathered it also stores the item's entries and
// preview under the row's caller data and sets the row's preview height.
std::string ExtractResult(std::string_view text, std::string_view filter, int row, ItemRows& rows,
                          ResultMaps& maps);

}  // namespace pagelark
