// The filter builder on the 150 KB news page of bench/engine/pages/:
// preparing the page (flattening it twice, its words and match form), and
// one proposal for words near its start, middle and end and for a run of links.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ShownText.h"
#include "engine/collect/LinkTable.h"
#include "engine/suggest/PickPage.h"
#include "engine/suggest/SuggestFilters.h"

namespace {

constexpr char kBase[] = "http://news.example.org/local/index.html";

const std::string& Page() {
    static const std::string page = [] {
        std::ifstream in(std::string(PAGELARK_PICK_PAGES) + "/news-1.html", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }();
    return page;
}

const pagelark::PickPage& Prepared() {
    static pagelark::LinkTable links;
    static const pagelark::PickPage page(Page(), kBase, links);
    return page;
}

void PreparePage(benchmark::State& state) {
    for (auto _ : state) {
        pagelark::LinkTable links;
        const pagelark::PickPage page(Page(), kBase, links);
        benchmark::DoNotOptimize(page.Text().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
}
BENCHMARK(PreparePage)->Unit(benchmark::kMillisecond);

// `count` shown words from about `fraction` of the page's shown words (for
// links: from the first word of a link there), proposed for as the window
// does it, with the text shown before them.
void Propose(benchmark::State& state, double fraction, size_t count, bool links) {
    static const std::vector<pagelark::bench::ShownWord> shown = pagelark::bench::ShowPage(Page());
    size_t first = static_cast<size_t>(fraction * static_cast<double>(shown.size()));
    while (links && first < shown.size() && (shown[first].link < 0 || shown[first].list < 0))
        ++first;
    std::string before, words;
    for (size_t i = 0; i < first + count && i < shown.size(); ++i)
        (i < first ? before : words) += shown[i].text + " ";
    pagelark::Selection selection;
    selection.words = words;
    selection.shownBefore = before;
    selection.links = links;
    pagelark::Suggestion suggestion;
    for (auto _ : state) {
        suggestion = pagelark::SuggestFilters(Prepared(), selection);
        benchmark::DoNotOptimize(suggestion.candidates.data());
    }
    state.SetLabel(suggestion.candidates.empty() ? suggestion.ProblemText()
                                                 : suggestion.candidates.front().filter);
}
BENCHMARK_CAPTURE(Propose, WordsNearStart, 0.05, 3, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Propose, WordsInMiddle, 0.5, 2, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Propose, WordsNearEnd, 0.97, 4, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Propose, LinksInMiddle, 0.6, 30, true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
