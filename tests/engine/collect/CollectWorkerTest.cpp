#include "engine/collect/CollectWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <regex>

#include "engine/collect/ItemList.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/MemoryCollectHost.h"
#include "files/SnapFile.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

constexpr char kPage[] =
    "<html><body><p>Price: 12.50 USD</p><h2>Latest</h2>"
    "<a href='/one'>First story of the day</a> <a href=\"two.html\">Second story here</a>"
    "<p>end</p></body></html>";

const std::string kZhongWen = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文, six bytes

// Twenty words of 12 bytes each, far more than the Result column holds.
std::string LongWords() {
    std::string words;
    for (int i = 0; i < 20; ++i)
        words += kZhongWen + kZhongWen + " ";
    return words;
}

class CollectWorkerTest : public ::testing::Test {
  protected:
    CollectWorkerTest()
        : host([this](int number) { return items.at(number); }), worker(host, list) {}

    void SetUp() override {
        server.Routes().Get("/page", [this](const httplib::Request&, httplib::Response& response) {
            ++pageRequests;
            response.set_content(kPage, "text/html");
        });
        server.Routes().Get("/words", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<p>Words: " + LongWords() + "</p>", "text/html; charset=utf-8");
        });
        server.Routes().Get("/stall", [this](const httplib::Request&, httplib::Response& response) {
            ++stallRequests;
            response.set_chunked_content_provider("text/html",
                                                  [this](size_t, httplib::DataSink& sink) {
                                                      sink.write("<p>slow", 7);
                                                      for (int i = 0; i < 200 && !released; ++i)
                                                          std::this_thread::sleep_for(10ms);
                                                      return false;
                                                  });
        });
        server.Start();
    }
    void TearDown() override {
        released = true;
        worker.Wait();
        server.Stop();
    }

    int Add(const std::string& url, const std::string& filter, bool enabled = true) {
        const int number = list.TakeItemNumber();
        items[number] = DefinedItem(number, "item " + std::to_string(number), filter, url);
        const int row = AppendItemRow(host.Rows(), number, items[number].name);
        if (!enabled) {
            host.MemoryRowsOf().Rows()[static_cast<size_t>(row)].data = number + 10000;
            host.MemoryRowsOf().Rows()[static_cast<size_t>(row)].image = 4;
        }
        return row;
    }
    bool Start() {
        bool started = false;
        host.RunOnListThread([&] { started = worker.Start(); });
        return started;
    }
    const MemoryRow& Row(int row) { return host.MemoryRowsOf().Rows()[static_cast<size_t>(row)]; }

    LocalServer server;
    std::atomic<int> pageRequests{0};
    std::atomic<int> stallRequests{0};
    std::atomic<bool> released{false};
    std::map<int, ItemRecord> items;
    ItemList list;
    MemoryCollectHost host;
    CollectWorker worker;
};

TEST_F(CollectWorkerTest, CollectsEveryRowAndMovesTheProgress) {
    for (int i = 0; i < 3; ++i)
        Add(server.Url("/page"), "Price:#DATA,1,2#");
    ASSERT_TRUE(Start());
    EXPECT_EQ(host.GetLook().progressRange, 4);
    worker.Wait();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Row(row).image, static_cast<int>(ItemState::Done));
        EXPECT_EQ(Row(row).texts[2], "12.50 USD ");
        EXPECT_TRUE(std::regex_match(Row(row).texts[3],
                                     std::regex("(0[1-9]|1[0-2]):[0-5]\\d:[0-5]\\d (AM|PM)")))
            << Row(row).texts[3];
    }
    EXPECT_EQ(host.GetLook().progressPos, 3);
    EXPECT_EQ(worker.DoneCount(), 3);
    EXPECT_EQ(host.GetLook().resets, 1);
    EXPECT_FALSE(host.GetLook().running);
    EXPECT_FALSE(host.GetLook().progressVisible);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(pageRequests.load(), 2);  // one download (two requests), then the run's cache
}

TEST_F(CollectWorkerTest, LastUpdateIsATwelveHourClock) {
    const struct {
        int hour;
        const char* shown;
    } cases[] = {{0, "12:05:09 AM"}, {11, "11:05:09 AM"}, {12, "12:05:09 PM"}, {13, "01:05:09 PM"}};
    for (size_t i = 0; i < std::size(cases); ++i)
        Add(server.Url("/page"), "Price:#DATA,1#");
    std::atomic<size_t> reading{0};
    CollectWorker timed(host, list, {}, [&] {
        std::tm time{};
        time.tm_hour = cases[std::min(reading++, std::size(cases) - 1)].hour;
        time.tm_min = 5;
        time.tm_sec = 9;
        return time;
    });
    host.RunOnListThread([&] { timed.Start(); });
    timed.Wait();
    for (size_t row = 0; row < std::size(cases); ++row)
        EXPECT_EQ(Row(static_cast<int>(row)).texts[3], cases[row].shown) << cases[row].hour;
}

TEST_F(CollectWorkerTest, ALongResultIsCutOnACharacterAndSnappedAsShown) {
    const int row = Add(server.Url("/words"), "Words:#DATA,1,20#");
    ASSERT_TRUE(Start());
    worker.Wait();
    // Nine words fill 117 of the 128 bytes; the tenth is cut before the
    // character that would cross the limit.
    std::string shown;
    for (int i = 0; i < 9; ++i)
        shown += kZhongWen + kZhongWen + " ";
    shown += kZhongWen + kZhongWen.substr(0, 3);
    EXPECT_EQ(Row(row).texts[2], shown);
    EXPECT_EQ(BuildSnapText(host.Rows(), list.results, list.links),
              "item 1," + shown + "," + Row(row).texts[3] + "\r\n");
}

TEST_F(CollectWorkerTest, SameUrlInAnotherCaseIsDownloadedOnce) {
    constexpr int kLineHeight = 13;
    host.MemoryRowsOf() = MemoryRows(kLineHeight);
    const int a = Add(server.Url("/page"), "Price:#DATA,1#");
    std::string shouted = server.Url("/page");
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const int b = Add(shouted, "Latest#HREF,5,4#end");
    ASSERT_TRUE(Start());
    worker.Wait();
    EXPECT_EQ(pageRequests.load(), 2);
    EXPECT_EQ(Row(a).texts[2], "12.50 ");
    EXPECT_EQ(Row(b).texts[2], "2 Items Found");
    EXPECT_EQ(list.pageCache.Size(), 0u);  // gone after its last use
    // The page's links were numbered once and resolved against its URL.
    EXPECT_EQ(list.links.Lookup("__A1;"), server.Url("/two.html"));
    EXPECT_EQ(list.results.Preview("2"), "1. First story of the day\n2. Second story here\n");
    EXPECT_EQ(Row(b).previewHeight, 2 * kLineHeight + 4);  // a line per entry and a margin
}

TEST_F(CollectWorkerTest, RepeatedRunsKeepOnlyTheLinksEntriesPointTo) {
    // The page has four links (the two stories, and two more after "end");
    // the HREF items gather the two stories.
    server.Routes().Get("/more", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(kPage) + "<a href='/x'>x</a><a href='/y'>y</a>",
                             "text/html");
    });
    Add(server.Url("/more"), "Latest#HREF,5,4#end");
    Add(server.Url("/MORE"), "Latest#HREF,5,4#end");
    Add(server.Url("/more"), "Price:#DATA,1#");
    for (int run = 1; run <= 3; ++run) {
        ASSERT_TRUE(Start());
        worker.Wait();
        // One download a run numbers four links; the items share the two
        // they point to, which keep the numbers of this run.
        const LinkNumber first = 4 * (run - 1);
        EXPECT_EQ(list.links.LinkCounter(), 4 * run);
        EXPECT_EQ(list.links.Snapshot(),
                  (LinkMap{{OpeningMarker(first), server.Url("/one")},
                           {OpeningMarker(first + 1), server.Url("/two.html")}}))
            << run;
        EXPECT_EQ(list.results.Entries("2"),
                  OpeningMarker(first) + "<++<1. First story of the day\n<++<" +
                      OpeningMarker(first + 1) + "<++<2. Second story here\n<++<");
    }
    // Deleting one sharer keeps the links the other still points to.
    list.RemoveResults("1");
    EXPECT_EQ(list.links.Size(), 2u);
    list.RemoveResults("2");
    EXPECT_EQ(list.links.Size(), 0u);
}

TEST_F(CollectWorkerTest, DisabledRowsAreSkippedButCounted) {
    for (int i = 0; i < 3; ++i)
        Add(server.Url("/page"), "Price:#DATA,1#", false);
    ASSERT_TRUE(Start());
    worker.Wait();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Row(row).image, 4);
        EXPECT_EQ(Row(row).texts[2], "");
    }
    EXPECT_EQ(host.GetLook().progressPos, 3);
    EXPECT_EQ(pageRequests.load(), 0);
    EXPECT_EQ(host.GetLook().resets, 1);
}

TEST_F(CollectWorkerTest, AFailedFetchMarksTheRowAndLeavesTheBar) {
    const int failed =
        Add("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x", "Price:#DATA,1#");
    const int good = Add(server.Url("/page"), "Price:#DATA,1#");
    list.results.SetEntries("1", "old entries");
    ASSERT_TRUE(Start());
    worker.Wait();
    EXPECT_EQ(Row(failed).image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(Row(failed).texts[2], "");
    EXPECT_EQ(Row(failed).texts[3], "");
    EXPECT_FALSE(list.results.Entries("1"));
    EXPECT_EQ(Row(good).image, static_cast<int>(ItemState::Done));
    EXPECT_EQ(host.GetLook().progressMoves, 1);  // only the good row moved it
    EXPECT_EQ(host.GetLook().progressPos, 2);
}

TEST_F(CollectWorkerTest, StopAbandonsTheDownloadAndChangesNothingMore) {
    const int row = Add(server.Url("/stall"), "slow#DATA,0#");
    Add(server.Url("/page"), "Price:#DATA,1#");
    CollectSettings oneAtATime;
    oneAtATime.parallelDownloads = 1;  // so the next row's page is not asked for ahead
    worker.SetSettings(oneAtATime);
    ASSERT_TRUE(Start());
    for (int i = 0; i < 500 && stallRequests.load() == 0; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_GT(stallRequests.load(), 0);
    const auto stopped = std::chrono::steady_clock::now();
    host.RunOnListThread([&] { worker.Stop(); });
    EXPECT_FALSE(host.GetLook().running);
    EXPECT_TRUE(host.GetLook().defaultButtonEnabled);
    while (!worker.Idle() && std::chrono::steady_clock::now() - stopped < 5s)
        std::this_thread::sleep_for(5ms);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 1s);
    worker.Wait();
    EXPECT_EQ(Row(row).image, static_cast<int>(ItemState::Working));
    EXPECT_EQ(Row(row).texts[2], "");
    EXPECT_EQ(Row(1).image, static_cast<int>(ItemState::Ready));  // never claimed
    EXPECT_EQ(host.GetLook().resets, 1);  // Stop's own reset; the worker made none
    EXPECT_EQ(pageRequests.load(), 0);
}

TEST_F(CollectWorkerTest, ALateWorkerDoesNotTouchTheNextRun) {
    const int slow = Add(server.Url("/stall"), "slow#DATA,0#");
    ASSERT_TRUE(Start());
    for (int i = 0; i < 500 && stallRequests.load() == 0; ++i)
        std::this_thread::sleep_for(10ms);
    host.RunOnListThread([&] { worker.Stop(); });
    // Restart at once, while the first worker may still be leaving.
    items[1].url = server.Url("/page");
    items[1].filter = "Price:#DATA,1#";
    ASSERT_TRUE(Start());
    worker.Wait();
    EXPECT_EQ(Row(slow).image, static_cast<int>(ItemState::Done));
    EXPECT_EQ(Row(slow).texts[2], "12.50 ");
    EXPECT_EQ(host.GetLook().resets, 2);
    EXPECT_EQ(worker.DoneCount(), 1);
}

TEST_F(CollectWorkerTest, StartOnAnEmptyListDoesNothing) {
    EXPECT_FALSE(Start());
    EXPECT_FALSE(host.GetLook().running);
    EXPECT_FALSE(host.GetLook().progressVisible);
    worker.Wait();
}

}  // namespace
}  // namespace pagelark
