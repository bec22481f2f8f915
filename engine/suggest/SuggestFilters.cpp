#include "engine/suggest/SuggestFilters.h"

#include <algorithm>

#include "engine/page/EntryText.h"
#include "engine/suggest/LocateSelection.h"
#include "engine/suggest/PickPage.h"
#include "engine/suggest/ProposeData.h"
#include "engine/suggest/ProposeHref.h"

namespace pagelark {
namespace {

bool GathersExactly(const Extraction& extraction, const Proposal& proposal) {
    if (extraction.result != proposal.result) return false;
    const std::vector<EntryPiece> pieces = SplitEntries(extraction.entries);
    return std::equal(
        pieces.begin(), pieces.end(), proposal.markers.begin(), proposal.markers.end(),
        [](const EntryPiece& piece, const std::string& marker) { return piece.marker == marker; });
}

}  // namespace

Suggestion SuggestFilters(const PickPage& page, const Selection& selection) {
    Suggestion suggestion;
    const LocatedSelection located =
        LocateSelection(page, selection.words, selection.shownBefore, selection.occurrence);
    if (located.problem != PickProblem::None) {
        suggestion.problem = located.problem;
        suggestion.count = located.places;
        return suggestion;
    }

    Proposal proposal;
    if (selection.links) {
        const size_t begin = page.FlatOffset(located.begin);
        const size_t end = page.FlatOffset(located.end - 1) + 1;
        proposal = ProposeHref(page.HrefText(), begin, end, kMostCandidates);
    } else {
        proposal = ProposeData(page.DataText(), located.begin, located.end, kMostCandidates);
        suggestion.result = proposal.result;
    }

    // Every Filter is run as the worker runs it; only those that give exactly
    // the selection are offered.
    for (const ProposedFilter& proposed : proposal.filters) {
        Extraction extraction = ExtractResult(page.Flat(), proposed.filter);
        const bool exact = selection.links ? GathersExactly(extraction, proposal)
                                           : extraction.result == proposal.result;
        if (!exact) continue;
        suggestion.candidates.push_back(
            {proposed.filter, std::move(extraction), !proposed.key.digits});
    }
    if (suggestion.candidates.empty()) {
        suggestion.problem =
            proposal.problem != PickProblem::None ? proposal.problem : PickProblem::NoneExact;
        suggestion.count = proposal.count;
    }
    return suggestion;
}

}  // namespace pagelark
