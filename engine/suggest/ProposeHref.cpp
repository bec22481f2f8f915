#include "engine/suggest/ProposeHref.h"

#include <algorithm>

#include "engine/page/FlatText.h"
#include "engine/page/TextBytes.h"
#include "engine/suggest/StartTexts.h"
#include "engine/suggest/WorkText.h"

namespace pagelark {
namespace {

constexpr int kMostLinks = 255;  // what P0 and P1 may be
constexpr int kNearTries = 16;
constexpr size_t kWindow = 40;

struct LinkSpot {
    std::string_view marker;
    size_t markerAt;
    size_t textBegin;
    size_t textEnd;
    int length;  // of the trimmed link text
};

// The links as GatherLinks walks them from the start of the text.
std::vector<LinkSpot> Links(std::string_view text) {
    std::vector<LinkSpot> links;
    long pos = 0;
    while (pos < static_cast<long>(text.size()) - 1) {
        const LinkAt link = NextLink(text, pos);
        if (link.next == -1) break;
        const size_t at = static_cast<size_t>(link.marker.data() - text.data());
        const size_t textBegin = at + link.marker.size();
        links.push_back({link.marker, at, textBegin, textBegin + link.text.size(),
                         static_cast<int>(Trim(link.text).size())});
        pos = link.next;
    }
    return links;
}

}  // namespace

Proposal ProposeHref(const WorkText& work, size_t begin, size_t end, size_t wanted) {
    Proposal proposal;
    const std::string_view text = work.Text();
    const std::vector<LinkSpot> links = Links(text);

    size_t first = links.size();
    size_t count = 0;
    int least = kMostLinks;
    for (size_t i = 0; i < links.size(); ++i) {
        const size_t from = std::max(begin, links[i].textBegin);
        const size_t to = std::min(end, links[i].textEnd);
        if (from >= to || Trim(text.substr(from, to - from)).empty()) continue;
        if (first == links.size()) first = i;
        ++count;
        least = std::min(least, links[i].length);
        proposal.markers.emplace_back(links[i].marker);
    }
    if (count == 0) {
        proposal.problem = PickProblem::NoLinks;
        return proposal;
    }
    if (count > static_cast<size_t>(kMostLinks)) {
        proposal.problem = PickProblem::TooManyLinks;
        proposal.count = static_cast<int>(count);
        return proposal;
    }
    proposal.result = std::to_string(count) + " Items Found";

    // START lies after the last earlier link that would be gathered (or in its text).
    size_t low = 0;
    for (size_t i = first; i-- > 0;) {
        if (links[i].length >= least) {
            low = links[i].textBegin;
            break;
        }
    }
    const size_t high = links[first].markerAt;
    StartRange range;
    range.target = work.WordIndex(static_cast<long>(links[first].textBegin));
    range.lowest = work.WordIndex(static_cast<long>(low));
    while (range.lowest < work.Words().size() && work.Words()[range.lowest].begin < low)
        ++range.lowest;
    size_t last = work.WordIndex(static_cast<long>(high));
    if (last == 0 || last <= range.lowest) {
        proposal.problem = last == 0 ? PickProblem::NothingBefore : PickProblem::NoStart;
        return proposal;
    }
    range.last = last - 1;
    range.words = kWindow;

    const std::string counts = std::to_string(count) + "," + std::to_string(least);
    proposal.filters =
        ChooseStarts(work, CollectStarts(work, range), wanted, kNearTries,
                     [&](const Anchoring& anchoring) -> std::optional<ProposedFilter> {
                         const StartText& start = *anchoring.start;
                         ProposedFilter filter{
                             std::string(text.substr(static_cast<size_t>(start.begin),
                                                     static_cast<size_t>(start.end - start.begin))),
                             anchoring.key};
                         filter.filter += "#HREF," + counts;
                         if (!anchoring.near.empty())
                             filter.filter += ",NEAR " + std::string(anchoring.near);
                         filter.filter += "#";
                         return filter;
                     });
    if (proposal.filters.empty()) proposal.problem = PickProblem::NoStart;
    return proposal;
}

}  // namespace pagelark
