// Script files of up to 9999 items: parsing, loading into the live store (the
// Load command), building the Save text, and pugixml parsing the same bytes;
// the Edit and Delete commands on a live store of 9999 items.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <algorithm>
#include <random>

#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"
#include "files/ItemStore.h"
#include "files/ScriptFile.h"
#include "files/XmlDocument.h"

namespace {

std::string MakeScript(int items) {
    std::string text = "<xml version=1.0>\r\n";
    for (int i = 1; i <= items; ++i) {
        const std::string n = std::to_string(i);
        text += "<item>\r\n<name>Riverside Gazette page " + n + "</name>\r\n";
        text += "<format>Headlines#HREF,10,8#More &amp; older news</format>\r\n";
        text += "<url>https://news.example.org/section/" + n + "/index.html?lang=en&amp;p=" + n +
                "</url>\r\n</item>\r\n";
    }
    return text + "</xml>";
}

void ParseScript(benchmark::State& state) {
    const std::string text = MakeScript(static_cast<int>(state.range(0)));
    pagelark::XmlDocument doc;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.Load(text.c_str()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseScript)->Arg(9999)->Unit(benchmark::kMillisecond);

// Our files start "<xml version=1.0>", which pugixml rejects (an unquoted
// attribute value) after a few bytes; the second run quotes the value so that
// it parses the whole file.
void PugixmlParse(benchmark::State& state, bool quoteHeader) {
    std::string text = MakeScript(static_cast<int>(state.range(0)));
    if (quoteHeader) text.replace(0, 17, "<xml version=\"1.0\">");
    pugi::xml_parse_result result;
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(result = doc.load_buffer(text.data(), text.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel(result.description());
}
BENCHMARK_CAPTURE(PugixmlParse, same_bytes, false)->Arg(9999)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PugixmlParse, quoted_header, true)->Arg(9999)->Unit(benchmark::kMillisecond);

void LoadIntoStore(benchmark::State& state) {
    const std::string text = MakeScript(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pagelark::XmlDocument live;
        pagelark::ItemList list;
        pagelark::MemoryRows rows;
        benchmark::DoNotOptimize(pagelark::LoadScriptText(text, live, list, rows));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(LoadIntoStore)->Arg(1000)->Arg(2500)->Arg(5000)->Arg(9999)->Unit(benchmark::kMillisecond);

void BuildSaveText(benchmark::State& state) {
    const std::string text = MakeScript(static_cast<int>(state.range(0)));
    pagelark::XmlDocument live;
    pagelark::ItemList list;
    pagelark::MemoryRows rows;
    pagelark::LoadScriptText(text, live, list, rows);
    std::string saved;
    for (auto _ : state)
        benchmark::DoNotOptimize(saved = pagelark::BuildScriptText(live));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * saved.size()));
    state.SetLabel(saved == text ? "same bytes" : "DIFFERENT bytes");
}
BENCHMARK(BuildSaveText)->Arg(9999)->Unit(benchmark::kMillisecond);

// The Edit command's store writes: restore the item's mark, then set the
// texts of its three children. Items are picked at random; the oldest item
// lies behind every other one and is the slowest to edit.
void EditItem(benchmark::State& state, bool oldest) {
    const int items = static_cast<int>(state.range(0));
    const std::string text = MakeScript(items);
    pagelark::XmlDocument live;
    pagelark::ItemList list;
    pagelark::MemoryRows rows;
    pagelark::LoadScriptText(text, live, list, rows);
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pick(1, items);
    int round = 0;
    for (auto _ : state) {
        const int number = oldest ? 1 : pick(random);
        const std::string key = std::to_string(number);
        const std::string suffix = (++round % 2) != 0 ? " (edited)" : "";
        pagelark::WriteStoreItem(live, number,
                                 {"Riverside Gazette page " + key + suffix,
                                  "Headlines#HREF,10,8#More & older news" + suffix,
                                  "https://news.example.org/section/" + key + suffix});
    }
}
BENCHMARK_CAPTURE(EditItem, random, false)->Arg(9999)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EditItem, oldest, true)->Arg(9999)->Unit(benchmark::kMicrosecond);

// The Delete command's store write: restore the item's mark and remove the
// element. Each iteration deletes all items in a random order.
void DeleteAllItems(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const std::string text = MakeScript(items);
    std::vector<int> order(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i)
        order[static_cast<size_t>(i)] = i + 1;
    std::mt19937 random(1);
    for (auto _ : state) {
        state.PauseTiming();
        pagelark::XmlDocument live;
        pagelark::ItemList list;
        pagelark::MemoryRows rows;
        pagelark::LoadScriptText(text, live, list, rows);
        std::shuffle(order.begin(), order.end(), random);
        state.ResumeTiming();
        for (const int number : order)
            pagelark::RemoveStoreItem(live, number);
        benchmark::DoNotOptimize(live.GetText());
    }
}
BENCHMARK(DeleteAllItems)->Arg(9999)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
