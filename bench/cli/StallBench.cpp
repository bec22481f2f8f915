// A page that stalls, measured with the real 60 s limit: row 1 on a host
// that sends part of its page and then nothing, 40 good rows on another host,
// `collect --deadline 0`. Reported: when the last good page was first asked
// for, how long the run took, and whether row 1 ended Failed (1) and the
// good rows Done. About a minute.
//
//   build/bench/cli/stall_bench
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>

#include "bench/cli/BenchPages.h"

namespace {

using Clock = std::chrono::steady_clock;

void StalledFirstRow(benchmark::State& state) {
    std::atomic<bool> released{false};
    pagelark::LocalServer silent;
    silent.Routes().Get("/stall", [&](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html", [&](size_t, httplib::DataSink& sink) {
            sink.write("<p>Price: 1", 11);
            for (int i = 0; i < 12000 && !released; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return false;
        });
    });
    silent.Start("127.0.0.1");
    std::mutex lock;
    std::set<std::string> asked;
    Clock::time_point started;
    double lastFirstAsk = 0;
    pagelark::LocalServer good;
    good.Routes().Get(
        R"(/p/(\d+))", [&](const httplib::Request& request, httplib::Response& response) {
            {
                const std::lock_guard<std::mutex> hold(lock);
                if (asked.insert(request.path).second)
                    lastFirstAsk = std::chrono::duration<double>(Clock::now() - started).count();
            }
            response.set_content("<p>Price: " + request.matches[1].str() + " USD</p>", "text/html");
        });
    good.Start("127.0.0.2");
    std::string script =
        "<xml version=1.0>\r\n<item><name>Silent</name><format>Price:#DATA,1#"
        "</format><url>" +
        silent.Url("/stall") + "</url></item>\r\n";
    for (int i = 1; i <= 40; ++i)
        script += "<item><name>Good</name><format>Price:#DATA,1#</format><url>" +
                  good.Url("/p/" + std::to_string(i)) + "</url></item>\r\n";
    const std::string path = pagelark::bench::WriteTempFile("stall.xml", script + "</xml>");

    for (auto _ : state) {
        started = Clock::now();
        const std::string command =
            std::string("'") + PAGELARK_CLI + "' collect '" + path + "' --deadline 0 --json";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        char chunk[4096];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            out.append(chunk, got);
        pclose(pipe);
        const double took = std::chrono::duration<double>(Clock::now() - started).count();
        state.SetIterationTime(took);
        const auto rows = nlohmann::json::parse(out);
        int done = 0;
        for (const auto& row : rows)
            done += row["state"] == "Done";
        state.counters["run_s"] = took;
        state.counters["last_good_asked_s"] = lastFirstAsk;
        state.counters["good_pages_asked"] = static_cast<double>(asked.size());
        state.counters["row1_failed"] = rows[0]["state"] == "Failed";
        state.counters["good_rows_done"] = done;
    }
    released = true;
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(StalledFirstRow)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
