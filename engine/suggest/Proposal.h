#pragma once

#include <string>
#include <vector>

#include "engine/suggest/AnchorKey.h"
#include "engine/suggest/PickProblem.h"

namespace pagelark {

struct ProposedFilter {
    std::string filter;
    AnchorKey key;
};

// Filters built for one selection, best first, before they are checked, and
// what checking them must find.
struct Proposal {
    std::vector<ProposedFilter> filters;
    PickProblem problem = PickProblem::None;  // why there are none
    int count = 0;                            // the number the problem names
    std::string result;                       // the Result each must give
    std::vector<std::string> markers;         // HREF: the links it must gather, in order
};

// Puts `filter` among `filters`, which stay sorted by key and at most
// `wanted` long, unless the same Filter is there already.
void KeepBest(std::vector<ProposedFilter>& filters, ProposedFilter filter, size_t wanted);

// True when `filters` are `wanted` and a Filter with a key of `next` or
// worse would not get in.
bool Settled(const std::vector<ProposedFilter>& filters, size_t wanted, const AnchorKey& next);

}  // namespace pagelark
