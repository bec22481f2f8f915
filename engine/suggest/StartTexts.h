#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/suggest/AnchorKey.h"
#include "engine/suggest/Proposal.h"

namespace pagelark {

class WorkText;

// A START text: whole words of the work text (the last may be cut short).
struct StartText {
    long begin = 0;
    long end = 0;  // where the segment starts
    size_t lastWord = 0;
    AnchorKey key;  // without a NEAR text
};

struct StartRange {
    size_t lowest = 0;  // the first word START may use
    size_t last = 0;    // the word START ends with
    long cut = -1;      // where START ends inside word `last`; -1: at its end
    size_t target = 0;  // the selection's first word, from which the distance is counted
    size_t words = 40;  // how many words back the last word may lie
};

// The START texts of 1 to 4 words that end with word `range.last` or up to
// `range.words` - 1 words before it, at most 64 bytes, usable in a Filter.
std::vector<StartText> CollectStarts(const WorkText& work, const StartRange& range);

// The START text and, when it is found too early on its own, the NEAR text
// that makes FindText land on it.
struct Anchoring {
    const StartText* start;
    std::string_view near;  // empty: none
    AnchorKey key;          // START's and NEAR's
};

// Tries the START texts best key first, finding a NEAR text for at most
// `nearTries` of those found too early, and gives each that lands to `build`,
// which makes the Filter (or none). Keeps the best `wanted` Filters, best
// first, and stops once no later START can make one of them.
std::vector<ProposedFilter> ChooseStarts(
    const WorkText& work, std::vector<StartText> starts, size_t wanted, int nearTries,
    const std::function<std::optional<ProposedFilter>(const Anchoring&)>& build);

}  // namespace pagelark
