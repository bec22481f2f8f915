#pragma once

#include <string>

#include "engine/collect/RowReason.h"

namespace pagelark::cli {

// The English piece of an entry of the program's string table (the same
// table the window reads), its escapes undone; empty for an id it lacks.
std::string EnglishText(int id);

// A row's reason in the window's English words, starting in lower case as a
// clause after "cannot fetch URL: ".
std::string ReasonInEnglish(const RowReason& reason);

// Whether the reason is the browser engine's, for a rendered item.
bool IsRenderReason(const RowReason& reason);

}  // namespace pagelark::cli
