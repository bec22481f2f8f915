// State files of lists whose every item has a full history: the text written
// after each run (and when a changed row is seen; the window does that on a
// thread of its own, after copying the items), reading it back at Load, and
// the size it takes.
#include <benchmark/benchmark.h>

#include <string>

#include "files/StateFile.h"

namespace {

// Every item with 20 DATA Results of 48 bytes, or (every fourth item) an
// HREF item with five new links at each step.
pagelark::ChangeTracker::Items MakeItems(int count) {
    pagelark::ChangeTracker::Items items;
    for (int number = 1; number <= count; ++number) {
        pagelark::TrackedItem item;
        const std::string n = std::to_string(number);
        item.last.number = number;
        item.last.url = "https://news.example.org/section/" + n + "/index.html?lang=en";
        item.last.filter = "Headlines#HREF,10,8#More news";
        for (int step = 0; step < 20; ++step) {
            pagelark::HistoryEntry entry;
            entry.result = "Price 12." + std::to_string(step) + " USD, in stock, ships in 2 days";
            entry.time = 1767225600 + step * 600;
            if (number % 4 == 0) {
                for (int link = 0; link < 5; ++link)
                    entry.newEntries.push_back({"https://news.example.org/story/" + n + "-" +
                                                    std::to_string(step) + "-" +
                                                    std::to_string(link) + ".html",
                                                "A headline of some forty bytes in length"});
            }
            item.history.push_back(std::move(entry));
        }
        item.last.result = item.history.front().result;
        items[number] = std::move(item);
    }
    return items;
}

void WriteStateText(benchmark::State& state) {
    const pagelark::ChangeTracker::Items items = MakeItems(static_cast<int>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = pagelark::StateFileText(items);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(WriteStateText)->Arg(100)->Arg(1000)->Arg(9999)->Unit(benchmark::kMillisecond);

// What the window thread still does: copy the items for the writer's thread.
void CopyItems(benchmark::State& state) {
    const pagelark::ChangeTracker::Items items = MakeItems(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pagelark::ChangeTracker::Items copy = items;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(CopyItems)->Arg(100)->Arg(1000)->Arg(9999)->Unit(benchmark::kMillisecond);

void ReadStateText(benchmark::State& state) {
    const std::string text = pagelark::StateFileText(MakeItems(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(pagelark::ParseStateFile(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ReadStateText)->Arg(100)->Arg(1000)->Arg(9999)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
