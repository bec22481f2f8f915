#pragma once

#include <string>

namespace pagelark {

class ItemRows;
class LinkTable;
class ResultMaps;

// The snapshot text: for every row in item-index order "Name,Result,Last
// Update" (a text of 256 bytes or more is left out, the rest trimmed), then
// one "numbered text,URL" line per gathered entry whose link is known, line
// feeds removed; CR LF after every line. Empty when there are no rows.
std::string BuildSnapText(ItemRows& rows, const ResultMaps& results, const LinkTable& links);

}  // namespace pagelark
