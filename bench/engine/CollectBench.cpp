// A collection of 200 items against a local server that answers each request
// after 10 ms. Each item costs two requests, so 200 x 2 x 10 ms = 4 s is the
// least possible serial time; the ratio to it is reported.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <thread>

#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryCollectHost.h"
#include "tests/support/LocalServer.h"

namespace {

using namespace std::chrono_literals;

constexpr int kItems = 200;
constexpr double kSerialBoundSeconds = kItems * 2 * 0.010;

void Collect200(benchmark::State& state) {
    pagelark::LocalServer server;
    server.Routes().Get(
        R"(/p/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            std::this_thread::sleep_for(10ms);
            response.set_content("<p>Price: " + request.matches[1].str() + " USD</p>", "text/html");
        });
    server.Start();

    for (auto _ : state) {
        std::map<int, pagelark::ItemRecord> items;
        pagelark::ItemList list;
        pagelark::MemoryCollectHost host([&](int number) { return items.at(number); });
        for (int i = 1; i <= kItems; ++i) {
            const int number = list.TakeItemNumber();
            items[number] = pagelark::DefinedItem(number, "item", "Price:#DATA,1#",
                                                  server.Url("/p/" + std::to_string(i)));
            pagelark::AppendItemRow(host.Rows(), number, "item");
        }
        pagelark::CollectWorker worker(host, list);
        const auto started = std::chrono::steady_clock::now();
        host.RunOnListThread([&] { worker.Start(); });
        worker.Wait();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(took.count());
        state.counters["ratio_to_serial_bound"] = took.count() / kSerialBoundSeconds;
        state.counters["done"] = worker.DoneCount();
    }
}
BENCHMARK(Collect200)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
