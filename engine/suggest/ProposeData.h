#pragma once

#include <cstddef>

#include "engine/suggest/Proposal.h"

namespace pagelark {

class WorkText;

// DATA Filters whose Result is the words of the work text's bytes
// [begin, end) (the text DATA mode reads), best first, at most `wanted`.
//
// START ends before the selection (or, when the selection starts inside a
// word of the text, right where it starts, with P0 0); P0 counts the words
// from START to the selection and P1 is the number of selected words. END is
// empty, so the Result runs on to the end of the page's text, unless the
// selection ends inside a word: then END is the rest of that word (and maybe
// more), found first right where the selection ends. A NEAR text is added
// where START alone is found earlier on the page.
Proposal ProposeData(const WorkText& work, size_t begin, size_t end, size_t wanted);

}  // namespace pagelark
