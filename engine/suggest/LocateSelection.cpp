#include "engine/suggest/LocateSelection.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/suggest/MatchText.h"
#include "engine/suggest/PickPage.h"

namespace pagelark {
namespace {

// How far back the text before a place is compared.
constexpr size_t kMostContext = 512;

// The shown places of `wanted` in `form` (the page's match form, folded or
// not), as offsets in it. A place must start and end on whole characters.
std::vector<size_t> FindPlaces(const PickPage& page, std::string_view form,
                               std::string_view wanted) {
    const MatchForm& match = page.Match();
    std::vector<size_t> places;
    for (size_t pos = form.find(wanted); pos != std::string_view::npos;
         pos = form.find(wanted, pos + 1)) {
        const size_t last = pos + wanted.size() - 1;
        if (pos > 0 && match.from[pos - 1] == match.from[pos]) continue;
        if (last + 1 < form.size() && match.from[last + 1] == match.from[last]) continue;
        if (!page.MatchShown(pos)) continue;
        places.push_back(pos);
    }
    return places;
}

// Bytes at the end of `context` that agree with the shown bytes of `form`
// before `place`.
size_t AgreeingBefore(const PickPage& page, std::string_view form, size_t place,
                      std::string_view context) {
    size_t agreed = 0;
    size_t k = place;
    while (k > 0 && agreed < context.size() && agreed < kMostContext) {
        --k;
        if (!page.MatchShown(k)) continue;
        if (form[k] != context[context.size() - 1 - agreed]) break;
        ++agreed;
    }
    return agreed;
}

int CountBefore(std::string_view before, std::string_view wanted) {
    const std::string text = std::string(before) + std::string(wanted);
    int count = 0;
    for (size_t pos = text.find(wanted); pos < before.size(); pos = text.find(wanted, pos + 1))
        ++count;
    return count;
}

}  // namespace

LocatedSelection LocateSelection(const PickPage& page, std::string_view selection,
                                 std::optional<std::string_view> shownBefore, int occurrence) {
    LocatedSelection located;
    std::string wanted = ShownMatchForm(selection);
    if (wanted.empty()) {
        located.problem = PickProblem::NoWords;
        return located;
    }
    std::string context = shownBefore ? ShownMatchForm(*shownBefore) : std::string();
    std::string folded;
    std::string_view form = page.Match().bytes;
    std::vector<size_t> places = FindPlaces(page, form, wanted);
    if (places.empty()) {
        folded = page.Match().bytes;
        FoldAsciiCase(folded);
        FoldAsciiCase(wanted);
        FoldAsciiCase(context);
        form = folded;
        places = FindPlaces(page, form, wanted);
    }
    located.places = static_cast<int>(places.size());
    if (places.empty()) {
        located.problem = PickProblem::NotOnPage;
        return located;
    }

    size_t chosen = places.size();
    if (shownBefore) {
        const long counted = CountBefore(context, wanted);
        size_t best = 0;
        for (size_t i = 0; i < places.size(); ++i) {
            const size_t agreed = AgreeingBefore(page, form, places[i], context);
            if (chosen == places.size() || agreed > best ||
                (agreed == best && std::labs(static_cast<long>(i) - counted) <
                                       std::labs(static_cast<long>(chosen) - counted))) {
                chosen = i;
                best = agreed;
            }
        }
    } else if (occurrence >= 1 && static_cast<size_t>(occurrence) <= places.size()) {
        chosen = static_cast<size_t>(occurrence) - 1;
    }
    if (chosen == places.size()) {
        located.problem = PickProblem::FewerPlaces;
        return located;
    }
    located.begin = page.Match().from[places[chosen]];
    located.end = page.Match().to[places[chosen] + wanted.size() - 1];
    return located;
}

int SelectionOccurrence(std::string_view shownBefore, std::string_view selection) {
    const std::string wanted = ShownMatchForm(selection);
    if (wanted.empty()) return 1;
    return 1 + CountBefore(ShownMatchForm(shownBefore), wanted);
}

}  // namespace pagelark
