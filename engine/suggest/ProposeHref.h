#pragma once

#include <cstddef>

#include "engine/suggest/Proposal.h"

namespace pagelark {

class WorkText;

// HREF Filters that gather exactly the links whose text the selection
// covers, where [begin, end) is the selection in the flattened text: P0 is
// the number of those links and P1 the length of the shortest link text, so
// that every link between them is gathered and no other. START ends after
// every earlier link with a text that long (or inside the last one's text),
// before the first selected link; END is empty. Best first, at most `wanted`.
Proposal ProposeHref(const WorkText& work, size_t begin, size_t end, size_t wanted);

}  // namespace pagelark
