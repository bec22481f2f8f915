#include <benchmark/benchmark.h>

#include <string>

#include "report/model/ReportModel.h"
#include "tests/report/model/MemoryHeader.h"

namespace pagelark {
namespace {

constexpr int kRows = 9999;
constexpr int kResultColumn = 2;

// The program's list: four active columns.
struct List {
    MemoryHeader header;
    ReportModel model;

    List() {
        model.SetHeader(&header);
        for (int n = 0; n < 4; ++n) {
            SubItemDef def;
            def.format = 0x4000;
            def.text = "Column";
            model.DefineSubItem(n, def);
            model.ActivateSubItem(n, n);
        }
    }
    void Insert() {
        for (int i = 0; i < kRows; ++i) {
            const std::string name = "Item " + std::to_string(i);
            ReportItemInfo info;
            info.mask = RIF_TEXT | RIF_IMAGE | RIF_PARAM;
            info.item = i;
            info.text = const_cast<char*>(name.c_str());
            info.image = 1;
            info.param = i + 1;
            model.InsertItem(info);
        }
    }
    void SetResults() {
        for (int i = 0; i < kRows; ++i)
            // Scrambled so that the sort has real work to do.
            model.SetItemText(i, kResultColumn,
                              "Result " + std::to_string((i * 7919) % kRows) + " words");
    }
};

void InsertRows(benchmark::State& state) {
    for (auto _ : state) {
        List list;
        list.Insert();
        benchmark::DoNotOptimize(list.model.GetItemCount());
    }
}
BENCHMARK(InsertRows)->Unit(benchmark::kMillisecond);

void SetResultTexts(benchmark::State& state) {
    List list;
    list.Insert();
    for (auto _ : state)
        list.SetResults();
}
BENCHMARK(SetResultTexts)->Unit(benchmark::kMillisecond);

void SortByResult(benchmark::State& state) {
    List list;
    list.Insert();
    list.SetResults();
    bool ascending = true;
    for (auto _ : state) {
        list.model.SortItems(kResultColumn, ascending);
        ascending = !ascending;  // each run starts from the other order
    }
}
BENCHMARK(SortByResult)->Unit(benchmark::kMillisecond);

void DisplayRowOfEveryItem(benchmark::State& state) {
    List list;
    list.Insert();
    list.SetResults();
    bool ascending = true;
    for (auto _ : state) {
        state.PauseTiming();
        list.model.SortItems(kResultColumn, ascending);  // leaves the reverse map stale
        ascending = !ascending;
        state.ResumeTiming();
        long sum = 0;
        for (int i = 0; i < kRows; ++i)
            sum += list.model.GetRowFromItem(i);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(DisplayRowOfEveryItem)->Unit(benchmark::kMillisecond);

// The Delete command removes one row at a time; the list has been sorted, so
// display rows and item indexes differ. Front: every row moves up each time.
void DeleteRowsOneByOne(benchmark::State& state) {
    const bool fromFront = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        List list;
        list.Insert();
        list.SetResults();
        list.model.SortItems(kResultColumn, true);
        list.model.SelectItems(kRows / 2, kRows / 2, true, false, false, false);
        state.ResumeTiming();
        for (int i = kRows - 1; i >= 0; --i)
            list.model.DeleteItem(fromFront ? 0 : i);
        benchmark::DoNotOptimize(list.model.GetItemCount());
    }
}
BENCHMARK(DeleteRowsOneByOne)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A virtual list of 50000 rows: select them all, then walk the selection.
void VirtualSelectAllAndWalk(benchmark::State& state) {
    constexpr int kVirtualRows = 50000;
    for (auto _ : state) {
        List list;
        list.model.ModifyReportStyle(0, RCS_VIRTUAL);
        list.model.SetItemCount(kVirtualRows);
        list.model.SelectItems(0, kVirtualRows - 1, true, false, false, false);
        int count = 0;
        for (int i = list.model.GetFirstSelectedItem(); i >= 0;
             i = list.model.GetNextSelectedItem(i))
            ++count;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(VirtualSelectAllAndWalk)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pagelark

BENCHMARK_MAIN();
