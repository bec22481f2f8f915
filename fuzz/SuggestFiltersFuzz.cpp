// A page, a selection and its options from the fuzzer. Every Filter proposed
// must give, when run again, exactly what the proposal says it gives, and the
// page's text must be what DATA mode reads.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/collect/LinkTable.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/FlatText.h"
#include "engine/suggest/LocateSelection.h"
#include "engine/suggest/PickPage.h"
#include "engine/suggest/SuggestFilters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string words = input.ConsumeRandomLengthString(80);
    const std::string before = input.ConsumeRandomLengthString(200);
    const int occurrence = input.ConsumeIntegralInRange<int>(-1, 6);
    const bool links = input.ConsumeBool();
    const bool context = input.ConsumeBool();
    const std::string page = input.ConsumeRemainingBytesAsString();

    pagelark::LinkTable table;
    const pagelark::PickPage pick(page, "http://h/d/p.html", table);
    if (pick.Text() != pagelark::StripMarkers(pick.Flat())) __builtin_trap();

    pagelark::Selection selection;
    selection.words = words;
    selection.occurrence = occurrence;
    selection.links = links;
    if (context) selection.shownBefore = before;
    const pagelark::Suggestion suggestion = pagelark::SuggestFilters(pick, selection);
    if (suggestion.candidates.empty() == (suggestion.problem == pagelark::PickProblem::None))
        __builtin_trap();
    for (const pagelark::FilterCandidate& candidate : suggestion.candidates) {
        const pagelark::Extraction again = pagelark::ExtractResult(pick.Flat(), candidate.filter);
        if (again.result != candidate.extraction.result || again.result == "N/A" ||
            again.entries != candidate.extraction.entries)
            __builtin_trap();
        if (!links && again.result != suggestion.result) __builtin_trap();
    }
    if (pagelark::SelectionOccurrence(before, words) < 1) __builtin_trap();
    return 0;
}
