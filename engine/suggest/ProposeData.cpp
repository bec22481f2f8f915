#include "engine/suggest/ProposeData.h"

#include <algorithm>

#include "engine/page/ExtractResult.h"
#include "engine/page/TextBytes.h"
#include "engine/page/Utf8.h"
#include "engine/suggest/StartTexts.h"
#include "engine/suggest/WorkText.h"

namespace pagelark {
namespace {

constexpr size_t kMostEndWords = 4;
constexpr long kMostEndBytes = 64;
// START is looked for this many words back, trying a NEAR text for so many
// STARTs found too early; further back only when nothing nearer lands without
// a digit (a START far back that holds none outlasts a near one that does).
constexpr size_t kWindow = 40;
constexpr int kNearTries = 16;
constexpr size_t kWideWindow = 400;
constexpr int kWideNearTries = 48;

struct EndText {
    std::string_view text;
    AnchorKey key;
};

// ENDs that start at `end` (inside a word): the rest of that word, then up to
// three more words, best key first.
std::vector<EndText> EndTexts(const WorkText& work, size_t end) {
    std::vector<EndText> ends;
    const auto& words = work.Words();
    const size_t first = work.WordIndex(static_cast<long>(end));
    bool shown = true;
    for (size_t last = first; last < words.size() && last < first + kMostEndWords; ++last) {
        shown = shown && words[last].shown;
        const long stop = words[last].end;
        if (stop - static_cast<long>(end) > kMostEndBytes ||
            !work.Usable(static_cast<long>(end), stop, false))
            break;
        EndText text{work.Text().substr(end, static_cast<size_t>(stop) - end), {}};
        text.key.Add(text.text, shown);
        ends.push_back(text);
    }
    std::stable_sort(ends.begin(), ends.end(),
                     [](const EndText& a, const EndText& b) { return a.key < b.key; });
    return ends;
}

}  // namespace

Proposal ProposeData(const WorkText& work, size_t begin, size_t end, size_t wanted) {
    Proposal proposal;
    const std::string_view text = work.Text();
    const std::string_view selected = text.substr(begin, end - begin);
    int count = 0;
    for (size_t i = 0; i < selected.size();) {
        while (i < selected.size() && IsBlank(static_cast<unsigned char>(selected[i])))
            ++i;
        const size_t wordBegin = i;
        while (i < selected.size() && !IsBlank(static_cast<unsigned char>(selected[i])))
            ++i;
        if (wordBegin == i) break;
        proposal.result.append(selected.substr(wordBegin, i - wordBegin));
        proposal.result.push_back(' ');
        ++count;
    }
    // The list shows 128 bytes of a Result; only the blank after the last word may be cut.
    if (CutUtf8(proposal.result, kResultBytes).size() + 1 < proposal.result.size()) {
        proposal.problem = PickProblem::TooLong;
        proposal.count = static_cast<int>(proposal.result.size() - 1);
        return proposal;
    }

    const size_t target = work.WordIndex(static_cast<long>(begin));
    const bool cutStart = begin > work.Words()[target].begin;
    if (target == 0 && !cutStart) {
        proposal.problem = PickProblem::NothingBefore;
        return proposal;
    }
    const bool cutEnd = end < text.size() && !IsBlank(static_cast<unsigned char>(text[end]));
    const std::vector<EndText> ends = cutEnd ? EndTexts(work, end) : std::vector<EndText>{};
    bool endMissed = false;

    const auto build = [&](const Anchoring& anchoring) -> std::optional<ProposedFilter> {
        const StartText& start = *anchoring.start;
        ProposedFilter filter{{}, anchoring.key};
        std::string_view endText;
        if (cutEnd) {
            // A "," in END ends a parameter too: harmless after P1, which is read
            // up to its "#", but it would cut a NEAR text short.
            const auto fits = std::find_if(ends.begin(), ends.end(), [&](const EndText& e) {
                if (!anchoring.near.empty() && e.text.find(',') != std::string_view::npos)
                    return false;
                return work.Finder().Find(e.text, start.end) == static_cast<long>(end);
            });
            if (fits == ends.end()) {
                endMissed = true;
                return std::nullopt;
            }
            endText = fits->text;
            filter.key.Include(fits->key);
        }
        // Word 0 is the rest of a word START cuts, else the empty word before a blank.
        const size_t p0 = cutStart ? 0 : target - start.lastWord;
        filter.filter = std::string(text.substr(static_cast<size_t>(start.begin),
                                                static_cast<size_t>(start.end - start.begin)));
        filter.filter += "#DATA," + std::to_string(p0);
        if (count != 1 || !anchoring.near.empty()) filter.filter += "," + std::to_string(count);
        if (!anchoring.near.empty()) filter.filter += ",NEAR " + std::string(anchoring.near);
        filter.filter += "#";
        filter.filter += endText;
        return filter;
    };

    StartRange range;
    range.last = cutStart ? target : target - 1;
    range.cut = cutStart ? static_cast<long>(begin) : -1;
    range.target = target;
    for (const auto& [window, nearTries] :
         {std::pair{kWindow, kNearTries}, {kWideWindow, kWideNearTries}}) {
        range.words = cutStart ? 1 : window;
        for (ProposedFilter& filter :
             ChooseStarts(work, CollectStarts(work, range), wanted, nearTries, build))
            KeepBest(proposal.filters, std::move(filter), wanted);
        if (cutStart || (!proposal.filters.empty() && !proposal.filters.front().key.digits)) break;
    }
    if (proposal.filters.empty())
        proposal.problem = endMissed ? PickProblem::NoEnd : PickProblem::NoStart;
    return proposal;
}

}  // namespace pagelark
