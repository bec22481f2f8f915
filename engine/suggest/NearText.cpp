#include "engine/suggest/NearText.h"

#include <algorithm>

#include "engine/suggest/WorkText.h"

namespace pagelark {
namespace {

constexpr int kMostWords = 3;
constexpr long kMostBytes = 48;
constexpr size_t kMostStarts = 60;  // words back from START where a NEAR text may start

}  // namespace

std::optional<NearChoice> FindNearText(const WorkText& work, long previous, long at, int tries) {
    const auto& words = work.Words();
    std::optional<NearChoice> best;
    // Words between the two places, the nearest to START first.
    const size_t firstWord = work.WordIndex(previous);
    size_t lastWord = work.WordIndex(at);  // one past the last word that ends by `at`
    while (lastWord > firstWord && static_cast<long>(words[lastWord - 1].end) > at)
        --lastWord;
    const size_t lowest = std::max(firstWord, lastWord > kMostStarts ? lastWord - kMostStarts : 0);
    for (size_t first = lastWord; first-- > lowest && tries > 0;) {
        if (static_cast<long>(words[first].begin) < previous) break;
        bool shown = true;
        for (size_t last = first; last < lastWord && last < first + kMostWords; ++last) {
            shown = shown && words[last].shown;
            const long begin = words[first].begin;
            const long end = words[last].end;
            if (end - begin > kMostBytes) break;
            if (!work.Usable(begin, end, true)) break;
            const std::string_view text =
                work.Text().substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
            NearChoice choice{text, {}};
            choice.key.Add(text, shown);
            if (best && !(choice.key < best->key)) continue;
            if (--tries < 0) break;
            const long found = work.Finder().Find(text, 0);
            if (found >= previous && found < at) best = choice;
        }
    }
    return best;
}

}  // namespace pagelark
