// Flattening and extraction on a 150 KB page, next to a plain memcpy of the
// same bytes and libxml2's HTML parser followed by a walk over its text nodes.
#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

#include <cstring>
#include <vector>

#include "SamplePage.h"
#include "engine/collect/ItemList.h"
#include "engine/page/ExtractResult.h"
#include "engine/page/FlattenPage.h"

namespace {

constexpr size_t kPageBytes = 150000;
constexpr char kBase[] = "http://news.example.org/local/index.html";

const std::string& Page() {
    static const std::string page = pagelark::bench::MakeNewsPage(kPageBytes);
    return page;
}

std::string FlatPage() {
    pagelark::LinkTable links;
    std::vector<char> out(kPageBytes * 2);
    size_t length = 0;
    pagelark::FlattenPage(Page().data(), Page().size(), out.data(), out.size(), length, kBase,
                          links);
    return std::string(out.data(), length);
}

void Memcpy(benchmark::State& state) {
    const std::string& page = Page();
    std::vector<char> out(page.size());
    for (auto _ : state) {
        std::memcpy(out.data(), page.data(), page.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(Memcpy);

void FlattenPage(benchmark::State& state) {
    const std::string& page = Page();
    std::vector<char> out(kPageBytes);
    size_t length = 0;
    for (auto _ : state) {
        pagelark::LinkTable links;
        pagelark::FlattenPage(page.data(), page.size(), out.data(), out.size(), length, kBase,
                              links);
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["flat_bytes"] = static_cast<double>(length);
}
BENCHMARK(FlattenPage);

void Extract(benchmark::State& state, const char* filter) {
    const std::string flat = FlatPage();
    std::string result;
    for (auto _ : state) {
        result = pagelark::ExtractResult(flat, filter).result;
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
    state.SetLabel(result);
}
// Both Filters find their start text near the end of the page, so the whole
// text is searched.
BENCHMARK_CAPTURE(Extract, Data, "Gold price:#DATA,1,2#per ounce");
BENCHMARK_CAPTURE(Extract, Href, "Latest headlines#HREF,10,8#More headlines");

size_t WalkText(xmlNode* node) {
    size_t bytes = 0;
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE && node->content != nullptr)
            bytes += std::strlen(reinterpret_cast<const char*>(node->content));
        bytes += WalkText(node->children);
    }
    return bytes;
}

void Libxml2ParseAndWalk(benchmark::State& state) {
    const std::string& page = Page();
    size_t text = 0;
    for (auto _ : state) {
        htmlDocPtr doc =
            htmlReadMemory(page.data(), static_cast<int>(page.size()), kBase, "UTF-8",
                           HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
        text = WalkText(xmlDocGetRootElement(doc));
        xmlFreeDoc(doc);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["text_bytes"] = static_cast<double>(text);
}
BENCHMARK(Libxml2ParseAndWalk);

}  // namespace

BENCHMARK_MAIN();
