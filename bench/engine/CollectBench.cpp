// A collection of 200 items against a local server that answers each request
// after 10 ms. Each item costs two requests, so 200 x 2 x 10 ms = 4 s is the
// least possible serial time; the ratio to it is reported.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>

#include <chrono>
#include <map>
#include <thread>

#include "engine/CollectWorker.h"
#include "engine/ItemList.h"
#include "engine/MemoryCollectHost.h"

namespace {

using namespace std::chrono_literals;

constexpr int kItems = 200;
constexpr double kSerialBoundSeconds = kItems * 2 * 0.010;

void Collect200(benchmark::State& state) {
    httplib::Server server;
    server.Get(R"(/p/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
        std::this_thread::sleep_for(10ms);
        response.set_content("<p>Price: " + request.matches[1].str() + " USD</p>", "text/html");
    });
    // Without TCP_NODELAY each answer would wait ~40 ms for a delayed ACK.
    server.set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread listener([&] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::sleep_for(1ms);

    for (auto _ : state) {
        std::map<int, pagelark::ItemRecord> items;
        pagelark::ItemList list;
        pagelark::MemoryCollectHost host([&](int number) { return items.at(number); });
        for (int i = 1; i <= kItems; ++i) {
            const int number = list.TakeItemNumber();
            items[number] = pagelark::DefinedItem(
                number, "item", "Price:#DATA,1#",
                "http://127.0.0.1:" + std::to_string(port) + "/p/" + std::to_string(i));
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
    server.stop();
    listener.join();
}
BENCHMARK(Collect200)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
