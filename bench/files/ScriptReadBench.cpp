// Reading a script file of just under the 64 MB limit as Load does (read,
// parse, fill the live store and the rows), in three shapes: 9999 items of
// about 6.7 KB each, items of a typical size (most beyond the 9999th are
// parsed, not kept) and the densest items a file can hold. Each load runs in
// a child process; times_size is how much its peak memory grew, as a
// multiple of the file's size.
//
//   build/bench/files/script_read_bench
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"
#include "files/ScriptFile.h"
#include "files/XmlDocument.h"

namespace {

constexpr size_t kBytes = pagelark::kMaxScriptFileBytes - 4096;

std::string MakeFile(const std::string& shape) {
    std::string text = "<xml version=1.0>\r\n";
    for (int i = 0; text.size() < kBytes - 512; ++i) {
        const std::string n = std::to_string(i);
        if (shape == "long") {
            const std::string pad((kBytes / 9999 - 120) / 2, 'n');
            text += "<item>\r\n<name>Item " + n + " " + pad +
                    "</name>\r\n<format>Price:#DATA,1,2#" +
                    "USD</format>\r\n<url>http://example.org/" + n + "?" + pad +
                    "</url>\r\n</item>\r\n";
        } else if (shape == "typical") {
            text += "<item>\r\n<name>Headlines of site " + n +
                    "</name>\r\n<format>Latest#HREF,10,8#More news</format>\r\n"
                    "<url>https://news.example.org/section/" +
                    n + "/index.html</url>\r\n</item>\r\n";
        } else {
            text += "<item><name>a</name><format>b</format><url>c</url></item>\r\n";
        }
    }
    return text + "</xml>";
}

long HighWaterKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
    return 0;
}

void ReadAndLoad(benchmark::State& state, const std::string& shape) {
    const std::string path = "/tmp/pagelark-script-read-" + std::to_string(getpid()) + ".xml";
    std::ofstream(path, std::ios::binary) << MakeFile(shape);
    for (auto _ : state) {
        int report[2];
        if (pipe(report) != 0) return;
        const auto started = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const long before = HighWaterKb();
            std::string text;
            pagelark::XmlDocument live;
            pagelark::ItemList list;
            pagelark::MemoryRows rows;
            long grown = -1;
            if (pagelark::ReadScriptFile(path, text)) {
                pagelark::LoadScriptText(std::move(text), live, list, rows);
                grown = HighWaterKb() - before;
            }
            (void)!write(report[1], &grown, sizeof grown);
            _exit(0);
        }
        long grownKb = -1;
        (void)!read(report[0], &grownKb, sizeof grownKb);
        waitpid(child, nullptr, 0);
        close(report[0]);
        close(report[1]);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(took.count());
        state.counters["grown_mb"] = static_cast<double>(grownKb) / 1024.0;
        state.counters["times_size"] = static_cast<double>(grownKb) * 1024.0 / kBytes;
    }
    std::remove(path.c_str());
}
BENCHMARK_CAPTURE(ReadAndLoad, long_items, std::string("long"))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndLoad, typical_items, std::string("typical"))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndLoad, dense_items, std::string("dense"))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
