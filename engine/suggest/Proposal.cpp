#include "engine/suggest/Proposal.h"

#include <algorithm>

namespace pagelark {

void KeepBest(std::vector<ProposedFilter>& filters, ProposedFilter filter, size_t wanted) {
    for (const ProposedFilter& kept : filters) {
        if (kept.filter == filter.filter) return;
    }
    const auto at = std::upper_bound(
        filters.begin(), filters.end(), filter.key,
        [](const AnchorKey& key, const ProposedFilter& kept) { return key < kept.key; });
    filters.insert(at, std::move(filter));
    if (filters.size() > wanted) filters.pop_back();
}

bool Settled(const std::vector<ProposedFilter>& filters, size_t wanted, const AnchorKey& next) {
    return filters.size() >= wanted && !(next < filters.back().key);
}

}  // namespace pagelark
