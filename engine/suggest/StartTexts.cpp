#include "engine/suggest/StartTexts.h"

#include <algorithm>

#include "engine/suggest/NearText.h"
#include "engine/suggest/WorkText.h"

namespace pagelark {
namespace {

constexpr size_t kMostWords = 4;
constexpr long kMostBytes = 64;
constexpr int kNearTextTries = 40;

}  // namespace

std::vector<StartText> CollectStarts(const WorkText& work, const StartRange& range) {
    std::vector<StartText> starts;
    const auto& words = work.Words();
    if (range.last >= words.size()) return starts;
    for (size_t n = 0; n < range.words && n <= range.last; ++n) {
        const size_t last = range.last - n;
        if (last < range.lowest) break;
        const long end = n == 0 && range.cut >= 0 ? range.cut : static_cast<long>(words[last].end);
        bool shown = true;
        for (size_t first = last + 1; first-- > range.lowest && last - first < kMostWords;) {
            shown = shown && words[first].shown;
            const long begin = words[first].begin;
            if (end - begin > kMostBytes || !work.Usable(begin, end, false)) break;
            StartText start{begin, end, last, {}};
            start.key.Add(
                work.Text().substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin)),
                shown);
            start.key.distance =
                range.target > last ? static_cast<int>(range.target - last - 1) : 0;
            start.key.far = start.key.distance > kNearWords;
            starts.push_back(start);
        }
    }
    return starts;
}

std::vector<ProposedFilter> ChooseStarts(
    const WorkText& work, std::vector<StartText> starts, size_t wanted, int nearTries,
    const std::function<std::optional<ProposedFilter>(const Anchoring&)>& build) {
    std::stable_sort(starts.begin(), starts.end(),
                     [](const StartText& a, const StartText& b) { return a.key < b.key; });
    std::vector<ProposedFilter> filters;
    for (const StartText& start : starts) {
        if (Settled(filters, wanted, start.key)) break;
        const std::string_view text = work.Text().substr(
            static_cast<size_t>(start.begin), static_cast<size_t>(start.end - start.begin));
        const long found = work.Finder().Find(text, 0);
        Anchoring anchoring{&start, {}, start.key};
        if (found != start.begin) {
            if (found < 0 || found > start.begin || nearTries-- <= 0) continue;
            const long previous = work.Finder().FindLastBefore(text, start.begin);
            const std::optional<NearChoice> near =
                FindNearText(work, previous, start.begin, kNearTextTries);
            if (!near) continue;
            anchoring.near = near->text;
            anchoring.key.Include(near->key);
            anchoring.key.near = true;
            if (Settled(filters, wanted, anchoring.key)) continue;
        }
        if (std::optional<ProposedFilter> filter = build(anchoring))
            KeepBest(filters, std::move(*filter), wanted);
    }
    return filters;
}

}  // namespace pagelark
