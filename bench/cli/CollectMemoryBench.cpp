// Peak memory of `pagelark-cli collect` over 300, 1,200 and 9,999 items, each
// on its own 150,000-byte page (300 links each) served on 127.0.0.1. The
// counter peak_mb is the process's peak resident set (ru_maxrss). The last
// case makes row 1 answer only after 5 s, so that every later page comes in
// before its row and the pages waiting fill their budget: the most a run
// holds.
//
//   build/bench/cli/collect_memory_bench
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "bench/cli/BenchPages.h"

namespace {

constexpr size_t kPageBytes = 150000;
constexpr int kLinksPerPage = 300;

void CollectPeakMemory(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const int slowFirstSeconds = static_cast<int>(state.range(1));
    pagelark::LocalServer server;
    server.Routes().Get(
        R"(/p/(\d+))", [=](const httplib::Request& request, httplib::Response& response) {
            const int number = std::stoi(request.matches[1].str());
            if (number == 1) std::this_thread::sleep_for(std::chrono::seconds(slowFirstSeconds));
            response.set_content(pagelark::bench::MakeLinkPage(number, kPageBytes, kLinksPerPage),
                                 "text/html");
        });
    server.Start();
    const std::string script = pagelark::bench::WriteTempFile(
        "list.xml", pagelark::bench::MakeScript(server, items, "Price:#DATA,1,2#"));

    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execl(PAGELARK_CLI, PAGELARK_CLI, "collect", script.c_str(), "--json",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(took.count());
        state.counters["peak_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
        state.counters["exit"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::filesystem::remove_all(std::filesystem::path(script).parent_path());
}
BENCHMARK(CollectPeakMemory)
    ->ArgNames({"items", "slow_first_s"})
    ->Args({300, 0})
    ->Args({1200, 0})
    ->Args({9999, 0})
    ->Args({1200, 5})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
