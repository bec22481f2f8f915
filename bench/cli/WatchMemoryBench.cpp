// Memory of `pagelark-cli watch --every 1` over link-dense pages, after run
// 30 and after run 300: three HREF items on 150,000-byte pages of about 6,800
// short links each (as many as fit), whose links change with every request,
// and a price that changes too, so that every run prints a line. The resident set is read from
// /proc while watch waits for its next run. About six minutes.
//
//   build/bench/cli/watch_memory_bench
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/cli/BenchPages.h"

namespace {

constexpr size_t kPageBytes = 150000;
constexpr int kLinksPerPage = 7000;

double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:")) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void WatchMemory(benchmark::State& state) {
    const int lastRun = static_cast<int>(state.range(0));
    std::atomic<int> generation{0};
    pagelark::LocalServer server;
    server.Routes().Get(
        R"(/p/(\d+))", [&](const httplib::Request& request, httplib::Response& response) {
            response.set_content(
                pagelark::bench::MakeLinkPage(std::stoi(request.matches[1].str()), kPageBytes,
                                              kLinksPerPage, ++generation, true),
                "text/html");
        });
    server.Start();
    std::string script = "<xml version=1.0>\r\n";
    for (int i = 1; i <= 3; ++i)
        script += "<item><name>Links " + std::to_string(i) +
                  "</name><format>Links#HREF,255,1#End</format><url>" +
                  server.Url("/p/" + std::to_string(i)) + "</url></item>\r\n";
    script += "<item><name>Price</name><format>Price:#DATA,1#</format><url>" + server.Url("/p/4") +
              "</url></item>\r\n</xml>";
    const std::string path = pagelark::bench::WriteTempFile("watch.xml", script);
    const std::string runs = std::to_string(lastRun + 1);

    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) return;
        const auto started = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            execl(PAGELARK_CLI, PAGELARK_CLI, "watch", path.c_str(), "--every", "1", "--runs",
                  runs.c_str(), "--json", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        FILE* lines = fdopen(out[0], "r");
        int seen = 0;
        char* line = nullptr;
        size_t size = 0;
        // The first run has nothing to compare with and prints nothing: the
        // line of run N is line N - 1.
        while (getline(&line, &size, lines) > 0) {
            const int run = ++seen + 1;
            if (run == 2) state.counters["rss_run2_mb"] = ResidentMb(child);
            if (run == 30) state.counters["rss_run30_mb"] = ResidentMb(child);
            if (run == lastRun) state.counters["rss_last_mb"] = ResidentMb(child);
        }
        free(line);
        fclose(lines);
        int status = 0;
        waitpid(child, &status, 0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(took.count());
        state.counters["runs"] = seen + 1;
        state.counters["exit"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        state.counters["last_vs_run30"] =
            state.counters["rss_last_mb"] / state.counters["rss_run30_mb"];
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(WatchMemory)
    ->ArgName("runs")
    ->Arg(300)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
