// A collection of 200 items spread over 20 loopback hosts (127.0.0.1 to
// 127.0.0.20) that answer each request after 10 ms. Each item costs two
// requests, so 200 x 2 x 10 ms = 4 s is the least possible time for a run
// that downloads one page at a time; the ratio to it is reported for one
// download at a time and for the default of 16.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryCollectHost.h"
#include "tests/support/LocalServer.h"

namespace {

using namespace std::chrono_literals;

constexpr int kItems = 200;
constexpr int kHosts = 20;
constexpr double kSerialBoundSeconds = kItems * 2 * 0.010;

void Collect200(benchmark::State& state) {
    std::vector<std::unique_ptr<pagelark::LocalServer>> servers;
    for (int i = 0; i < kHosts; ++i) {
        auto server = std::make_unique<pagelark::LocalServer>();
        server->Routes().Get(R"(/p/(\d+))", [](const httplib::Request& request,
                                               httplib::Response& response) {
            std::this_thread::sleep_for(10ms);
            response.set_content("<p>Price: " + request.matches[1].str() + " USD</p>", "text/html");
        });
        server->Start("127.0.0." + std::to_string(i + 1));
        servers.push_back(std::move(server));
    }

    for (auto _ : state) {
        std::map<int, pagelark::ItemRecord> items;
        pagelark::ItemList list;
        pagelark::MemoryCollectHost host([&](int number) { return items.at(number); });
        for (int i = 1; i <= kItems; ++i) {
            const int number = list.TakeItemNumber();
            const auto& server = servers[static_cast<size_t>(i % kHosts)];
            items[number] = pagelark::DefinedItem(number, "item", "Price:#DATA,1#",
                                                  server->Url("/p/" + std::to_string(i)));
            pagelark::AppendItemRow(host.Rows(), number, "item");
        }
        pagelark::CollectSettings settings;
        settings.parallelDownloads = static_cast<int>(state.range(0));
        pagelark::CollectWorker worker(host, list, settings);
        const auto started = std::chrono::steady_clock::now();
        host.RunOnListThread([&] { worker.Start(); });
        worker.Wait();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(took.count());
        state.counters["ratio_to_serial_bound"] = took.count() / kSerialBoundSeconds;
        state.counters["done"] = worker.DoneCount();
    }
}
BENCHMARK(Collect200)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(16)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
