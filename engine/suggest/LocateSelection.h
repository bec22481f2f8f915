#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/suggest/PickProblem.h"

namespace pagelark {

class PickPage;

struct LocatedSelection {
    PickProblem problem = PickProblem::None;
    // The selection in the page's Text(): from the first byte of its first
    // character to just after its last. Either end may lie inside a word of
    // the text (the page joins words a browser shows apart).
    size_t begin = 0;
    size_t end = 0;
    int places = 0;  // how often the page shows the selected words
};

// Finds where the selection lies in the page's text. The selection and the
// text are compared in their match form (see MatchText.h), so blanks, tags
// inside words, line breaks in the source and entities do not matter. The
// places considered are those in the words a browser shows (not in the title,
// scripts or styles), at every position, also inside a longer word. Letter
// case counts, unless nothing is found so: then ASCII letters are folded (a
// style may show words in capitals).
//
// With `shownBefore`, the text the browser shows before the selection, the
// place is the one whose shown text before it agrees with that text for the
// most bytes (in match form), so text the page holds but a style sheet hides
// does not lead astray; among equals, the one numbered as the places in
// `shownBefore` count. Without it, the place numbered `occurrence` (1 for
// the first).
LocatedSelection LocateSelection(const PickPage& page, std::string_view selection,
                                 std::optional<std::string_view> shownBefore, int occurrence);

// 1 + the places the selected words occur, counted as LocateSelection counts
// them, in the text a browser shows before the selection (places that run on
// into the selection count too).
int SelectionOccurrence(std::string_view shownBefore, std::string_view selection);

}  // namespace pagelark
