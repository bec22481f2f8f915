// Downloads ahead of the rows: whatever their number, the user sees what a
// one-at-a-time run makes, the hosts are spared and Stop stays prompt.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/MemoryCollectHost.h"
#include "files/SnapFile.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

struct Item {
    std::string url;
    std::string filter;
    bool enabled = true;
};

// One list with its own maps, collected with the given number of downloads.
struct ListRun {
    explicit ListRun(const std::vector<Item>& definitions)
        : host([this](int number) { return items.at(number); }) {
        for (const Item& item : definitions) {
            const int number = list.TakeItemNumber();
            items[number] =
                DefinedItem(number, "item " + std::to_string(number), item.filter, item.url);
            const int row = AppendItemRow(host.Rows(), number, items[number].name);
            if (!item.enabled) {
                auto& stored = host.MemoryRowsOf().Rows()[static_cast<size_t>(row)];
                stored.data = RowDataFor(number, false);
                stored.image = static_cast<int>(ItemState::Disabled);
            }
        }
    }
    void Collect(int jobs) {
        CollectSettings settings;
        settings.parallelDownloads = jobs;
        worker = std::make_unique<CollectWorker>(host, list, settings, [] {
            std::tm time{};
            time.tm_hour = 9;
            return time;
        });
        host.RunOnListThread([&] { worker->Start(); });
        worker->Wait();
    }
    const MemoryRow& Row(int row) { return host.MemoryRowsOf().Rows()[static_cast<size_t>(row)]; }

    std::map<int, ItemRecord> items;
    ItemList list;
    MemoryCollectHost host;
    std::unique_ptr<CollectWorker> worker;
};

// Pages on several loopback hosts that answer after a random delay, each
// with links, counting the requests per path in any case.
class ParallelCollectTest : public ::testing::Test {
  protected:
    void Serve(int hosts, std::chrono::milliseconds longest) {
        for (int i = 0; i < hosts; ++i) {
            auto server = std::make_unique<LocalServer>();
            server->Routes().Get(R"(/p/(\d+))", [this, longest](const httplib::Request& request,
                                                                httplib::Response& response) {
                const int inFlight = ++m_inFlight;
                for (int seen = m_mostInFlight; inFlight > seen;)
                    m_mostInFlight.compare_exchange_weak(seen, inFlight);
                thread_local std::mt19937 random(std::random_device{}());
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(std::uniform_int_distribution<int>(
                        0, static_cast<int>(longest.count()))(random)));
                const std::string n = request.matches[1].str();
                response.set_content("<p>Price: " + n + " USD</p><h2>News</h2><a href='/a" + n +
                                         "'>First " + n + "</a> <a href='b" + n + ".html'>Second " +
                                         n + "</a><p>end</p>",
                                     "text/html");
                --m_inFlight;
            });
            server->Start("127.0.0." + std::to_string(i + 1));
            m_servers.push_back(std::move(server));
        }
    }
    std::string Url(int host, int page) const {
        return m_servers[static_cast<size_t>(host)]->Url("/p/" + std::to_string(page));
    }

    // The servers go first, while what their handlers count still lives.
    std::atomic<int> m_inFlight{0};
    std::atomic<int> m_mostInFlight{0};
    std::vector<std::unique_ptr<LocalServer>> m_servers;
};

TEST_F(ParallelCollectTest, ManyAtOnceGivesWhatOneAtATimeGives) {
    Serve(3, 30ms);
    std::vector<Item> definitions;
    for (int i = 0; i < 40; ++i) {
        std::string url = Url(i % 3, i % 17);  // pages repeat
        if (i % 5 == 0)
            for (char& c : url)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const char* filter = i % 2 ? "News#HREF,5,4#end" : "Price:#DATA,1,2#";
        definitions.push_back({url, filter, i % 7 != 3});
    }
    definitions.push_back({"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x", "a#DATA,1#"});

    ListRun serial(definitions);
    serial.Collect(1);
    ListRun parallel(definitions);
    parallel.Collect(16);

    for (int row = 0; row < static_cast<int>(definitions.size()); ++row) {
        EXPECT_EQ(parallel.Row(row).image, serial.Row(row).image) << row;
        EXPECT_EQ(parallel.Row(row).texts, serial.Row(row).texts) << row;
        EXPECT_EQ(parallel.Row(row).previewHeight, serial.Row(row).previewHeight) << row;
    }
    EXPECT_EQ(serial.Row(1).image, static_cast<int>(ItemState::Done));
    EXPECT_EQ(serial.Row(3).image, static_cast<int>(ItemState::Disabled));
    EXPECT_EQ(serial.Row(40).image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(parallel.list.results.EntriesSnapshot(), serial.list.results.EntriesSnapshot());
    EXPECT_EQ(parallel.list.links.Snapshot(), serial.list.links.Snapshot());
    EXPECT_EQ(parallel.list.links.LinkCounter(), serial.list.links.LinkCounter());
    EXPECT_EQ(BuildSnapText(parallel.host.Rows(), parallel.list.results, parallel.list.links),
              BuildSnapText(serial.host.Rows(), serial.list.results, serial.list.links));
    EXPECT_EQ(parallel.worker->DoneCount(), serial.worker->DoneCount());
    EXPECT_EQ(parallel.host.GetLook().progressMoves, serial.host.GetLook().progressMoves);
    // Every page was asked for twice (its two requests) in each run, whatever
    // the letter case of its URLs.
    for (const auto& server : m_servers) {
        std::map<std::string, int> requests;
        for (const auto& request : server->Requests())
            ++requests[request.path];
        for (const auto& [path, count] : requests)
            EXPECT_EQ(count, 4) << path;
    }
}

TEST_F(ParallelCollectTest, NeverMoreThanFourToAHostOrSixteenInAll) {
    // Twenty pages of one host first, then pages of six hosts in turn.
    constexpr int kHosts = 6;
    std::vector<std::atomic<int>> inFlight(kHosts), most(kHosts);
    for (int i = 0; i < kHosts; ++i) {
        auto server = std::make_unique<LocalServer>();
        server->Routes().Get("/p/(\\d+)", [&, i](const httplib::Request&, httplib::Response& r) {
            const int now = ++inFlight[static_cast<size_t>(i)];
            const int all = ++m_inFlight;
            for (int seen = most[static_cast<size_t>(i)]; now > seen;)
                most[static_cast<size_t>(i)].compare_exchange_weak(seen, now);
            for (int seen = m_mostInFlight; all > seen;)
                m_mostInFlight.compare_exchange_weak(seen, all);
            std::this_thread::sleep_for(20ms);
            r.set_content("<p>Price: 1 USD</p>", "text/html");
            --m_inFlight;
            --inFlight[static_cast<size_t>(i)];
        });
        server->Start("127.0.0." + std::to_string(i + 1));
        m_servers.push_back(std::move(server));
    }
    std::vector<Item> definitions;
    for (int i = 0; i < 20; ++i)
        definitions.push_back({Url(0, i), "Price:#DATA,1#"});
    for (int i = 0; i < 60; ++i)
        definitions.push_back({Url(i % kHosts, 100 + i), "Price:#DATA,1#"});
    ListRun run(definitions);
    run.Collect(16);
    for (int row = 0; row < 80; ++row)
        EXPECT_EQ(run.Row(row).texts[2], "1 ") << row;
    for (int i = 0; i < kHosts; ++i)
        EXPECT_LE(most[static_cast<size_t>(i)].load(), 4) << i;
    EXPECT_LE(m_mostInFlight.load(), 16);
    EXPECT_GT(m_mostInFlight.load(), 4);  // the hosts were asked at once
    m_servers.clear();                    // before the counters above go
}

TEST_F(ParallelCollectTest, StopEndsEveryDownloadAtOnce) {
    std::atomic<int> stalled{0};
    std::atomic<bool> released{false};
    for (int i = 0; i < 4; ++i) {
        auto server = std::make_unique<LocalServer>();
        server->Routes().Get("/stall/(\\d+)", [&](const httplib::Request&, httplib::Response& r) {
            ++stalled;
            r.set_chunked_content_provider("text/html", [&](size_t, httplib::DataSink& sink) {
                sink.write("<p>slow", 7);
                for (int wait = 0; wait < 300 && !released; ++wait)
                    std::this_thread::sleep_for(10ms);
                return false;
            });
        });
        server->Start("127.0.0." + std::to_string(i + 1));
        m_servers.push_back(std::move(server));
    }
    std::vector<Item> definitions;
    for (int i = 0; i < 20; ++i)
        definitions.push_back(
            {m_servers[static_cast<size_t>(i % 4)]->Url("/stall/" + std::to_string(i)),
             "a#DATA,1#"});
    ListRun run(definitions);
    CollectSettings settings;
    run.worker = std::make_unique<CollectWorker>(run.host, run.list, settings);
    run.host.RunOnListThread([&] { run.worker->Start(); });
    for (int i = 0; i < 500 && stalled < 16; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(stalled.load(), 16);
    const auto stopped = std::chrono::steady_clock::now();
    run.host.RunOnListThread([&] { run.worker->Stop(); });
    while (!run.worker->Idle() && std::chrono::steady_clock::now() - stopped < 5s)
        std::this_thread::sleep_for(1ms);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 200ms);
    run.worker->Wait();
    EXPECT_EQ(run.Row(0).image, static_cast<int>(ItemState::Working));
    for (int row = 1; row < 20; ++row)
        EXPECT_EQ(run.Row(row).image, static_cast<int>(ItemState::Ready)) << row;
    EXPECT_EQ(run.host.GetLook().resets, 1);  // Stop's own
    released = true;
    m_servers.clear();  // before the flags above go
}

// Waits until `count` stops growing (or reaches `enough`) and returns it.
int Settled(const std::atomic<int>& count, int enough) {
    int seen = -1;
    for (int i = 0; i < 100 && count.load() != seen && count.load() < enough; ++i) {
        seen = count.load();
        std::this_thread::sleep_for(100ms);
    }
    return count.load();
}

TEST_F(ParallelCollectTest, AStalledPageHoldsUpOnlyItsOwnRow) {
    // Row 0's host sends part of the page and then nothing; 60 rows of 20 KB
    // pages on another host. At most 200 KB of pages may wait for their rows.
    std::atomic<bool> released{false};
    std::atomic<int> good{0};
    for (int i = 0; i < 2; ++i) {
        auto server = std::make_unique<LocalServer>();
        server->Routes().Get("/stall", [&](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("text/html", [&](size_t, httplib::DataSink& sink) {
                sink.write("<p>part", 7);
                while (!released)
                    std::this_thread::sleep_for(10ms);
                return false;
            });
        });
        server->Routes().Get("/p/(\\d+)", [&](const httplib::Request&, httplib::Response& r) {
            ++good;
            r.set_content("<p>Price: 1 USD</p>" + std::string(20000, 'x'), "text/html");
        });
        server->Start("127.0.0." + std::to_string(i + 1));
        m_servers.push_back(std::move(server));
    }
    std::vector<Item> definitions{{m_servers[0]->Url("/stall"), "Price:#DATA,1#"}};
    for (int i = 0; i < 60; ++i)
        definitions.push_back({Url(1, i), "Price:#DATA,1#"});
    ListRun run(definitions);
    CollectSettings settings;
    settings.aheadBudgetBytes = 200000;
    run.worker = std::make_unique<CollectWorker>(run.host, run.list, settings);
    run.host.RunOnListThread([&] { run.worker->Start(); });

    // Two requests a page: more pages came than there are download places,
    // but no more than the budget and the places hold.
    const int requests = Settled(good, 200);
    EXPECT_GT(requests, 2 * 16);
    EXPECT_LE(requests, 2 * (200000 / 20000 + 1 + 16));
    run.host.RunOnListThread([&] {
        EXPECT_EQ(run.Row(0).image, static_cast<int>(ItemState::Working));
        // Rows are still written in list order.
        EXPECT_EQ(run.Row(1).image, static_cast<int>(ItemState::Ready));
        run.worker->Stop();
    });
    run.worker->Wait();
    released = true;
    m_servers.clear();  // before the counters above go
}

TEST_F(ParallelCollectTest, TheHostLimitCountsTheHostARedirectLeadsTo) {
    // Sixteen items on eight hosts, each sent on to one busy host.
    std::atomic<int> inFlight{0}, most{0};
    auto target = std::make_unique<LocalServer>();
    target->Routes().Get("/p/(\\d+)", [&](const httplib::Request&, httplib::Response& r) {
        const int now = ++inFlight;
        for (int seen = most; now > seen;)
            most.compare_exchange_weak(seen, now);
        std::this_thread::sleep_for(30ms);
        r.set_content("<p>Price: 1 USD</p>", "text/html");
        --inFlight;
    });
    target->Start("127.0.0.9");
    const std::string targetUrl = target->Url("/p/");
    m_servers.push_back(std::move(target));
    for (int i = 0; i < 8; ++i) {
        auto server = std::make_unique<LocalServer>();
        server->Routes().Get("/r/(\\d+)",
                             [&](const httplib::Request& request, httplib::Response& r) {
                                 r.set_redirect(targetUrl + request.matches[1].str());
                             });
        server->Start("127.0.0." + std::to_string(i + 1));
        m_servers.push_back(std::move(server));
    }
    std::vector<Item> definitions;
    for (int i = 0; i < 16; ++i)
        definitions.push_back(
            {m_servers[static_cast<size_t>(1 + i % 8)]->Url("/r/" + std::to_string(i)),
             "Price:#DATA,1#"});
    ListRun run(definitions);
    run.Collect(16);
    for (int row = 0; row < 16; ++row)
        EXPECT_EQ(run.Row(row).texts[2], "1 ") << row;
    EXPECT_LE(most.load(), 4);
    m_servers.clear();  // before the counters above go
}

TEST_F(ParallelCollectTest, AUrlThatFailedIsNotAskedForAgain) {
    LocalServer server;
    std::atomic<int> requests{0};
    server.Routes().Get("/broken", [&](const httplib::Request&, httplib::Response& response) {
        ++requests;
        response.set_content_provider(1000, "text/html",
                                      [](size_t, size_t, httplib::DataSink& sink) {
                                          sink.write("<p>half", 7);
                                          return false;
                                      });
    });
    server.Start();
    std::string shouted = server.Url("/BROKEN");
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ListRun run({{server.Url("/broken"), "a#DATA,1#"}, {shouted, "a#DATA,1#"}});
    run.Collect(1);
    EXPECT_EQ(run.Row(0).image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(run.Row(1).image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(requests.load(), 2);  // the two requests of one download
}

TEST_F(ParallelCollectTest, AWholeGbkPageIsSearchedToItsEnd) {
    // 100 KB of GBK grows to 150 KB in UTF-8; the price is at its very end.
    std::string page;
    for (int i = 0; i < 50000; ++i)
        page += "\xD6\xD0";                 // 中
    page += "Price: \xBC\xDB\xB8\xF1 USD";  // 价格
    LocalServer server;
    server.Routes().Get("/gbk", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(page, "text/html; charset=gb2312");
    });
    server.Start();
    ListRun run({{server.Url("/gbk"), "Price:#DATA,1,1#"}});
    run.Collect(16);
    EXPECT_EQ(run.Row(0).texts[2], "\xE4\xBB\xB7\xE6\xA0\xBC ");
}

}  // namespace
}  // namespace pagelark
