// Items marked "Render the page first" in a run, with a renderer that stands
// in for the browser engine: what the worker asks of it, how many at once,
// what it does with the answers and with none.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <set>
#include <thread>

#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/MemoryCollectHost.h"
#include "engine/collect/PageRenderer.h"
#include "tests/support/LocalServer.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

// Answers each URL it knows after `delay`, on a thread of its own; a URL it
// does not know is never answered.
class FakeRenderer : public PageRenderer {
  public:
    ~FakeRenderer() override {
        for (std::thread& thread : m_threads)
            thread.join();
    }
    void Render(uint64_t ticket, const std::string& url, int64_t deadlineMs, Done done) override {
        std::lock_guard<std::mutex> hold(lock);
        asked.push_back(url);
        deadlines.push_back(deadlineMs);
        open.insert(ticket);
        mostOpen = std::max(mostOpen, open.size());
        const auto answer = answers.find(url);
        if (answer == answers.end()) return;
        m_threads.emplace_back([this, ticket, outcome = answer->second, done] {
            std::this_thread::sleep_for(delay);
            {
                std::lock_guard<std::mutex> hold(lock);
                if (open.erase(ticket) == 0) return;  // cancelled
                if (answered++ == 0 && firstAnswer) firstAnswer();
            }
            done(outcome);
        });
    }
    void Cancel(uint64_t ticket) override {
        std::lock_guard<std::mutex> hold(lock);
        open.erase(ticket);
        ++cancels;
    }
    void Release() override {
        std::lock_guard<std::mutex> hold(lock);
        ++releases;
    }
    size_t Open() {
        std::lock_guard<std::mutex> hold(lock);
        return open.size();
    }

    std::mutex lock;
    std::map<std::string, RenderOutcome> answers;
    std::chrono::milliseconds delay = 20ms;
    std::function<void()> firstAnswer;
    std::vector<std::string> asked;
    std::vector<int64_t> deadlines;
    std::set<uint64_t> open;
    size_t mostOpen = 0;
    int answered = 0;
    int cancels = 0;
    int releases = 0;

  private:
    std::vector<std::thread> m_threads;
};

RenderOutcome Page(const std::string& html) {
    RenderOutcome outcome;
    outcome.ok = true;
    outcome.html = html;
    return outcome;
}

class RenderCollectTest : public ::testing::Test {
  protected:
    RenderCollectTest() : host([this](int number) { return items.at(number); }) {
        host.SetRenderer(&renderer);
    }
    void SetUp() override {
        server.Routes().Get(R"(/p(\d*))", [this](const httplib::Request& request,
                                                 httplib::Response& response) {
            ++requests;
            response.set_content("<p>Price: 12.50 USD</p>" + request.matches[1].str(), "text/html");
        });
        server.Start();
    }

    void Add(const std::string& url, bool render, const std::string& filter = "Price:#DATA,1,2#") {
        const int number = list.TakeItemNumber();
        items[number] = DefinedItem(number, "item", filter, url);
        items[number].render = render;
        AppendItemRow(host.Rows(), number, "item");
    }
    void Run(CollectSettings settings = {}) {
        CollectWorker worker(host, list, settings);
        host.RunOnListThread([&] { worker.Start(); });
        worker.Wait();
    }
    const MemoryRow& Row(int row) { return host.MemoryRowsOf().Rows()[static_cast<size_t>(row)]; }

    LocalServer server;
    std::atomic<int> requests{0};
    FakeRenderer renderer;
    std::map<int, ItemRecord> items;
    ItemList list;
    MemoryCollectHost host;
};

TEST_F(RenderCollectTest, APlainListNeverAsksTheRendererAndARenderedPageIsKeptApart) {
    Add(server.Url("/p"), false);
    Add(server.Url("/p"), false);
    Run();
    EXPECT_TRUE(renderer.asked.empty());
    EXPECT_EQ(renderer.releases, 0);

    // The same URL rendered, in two letter cases: one render, and its page
    // is not the downloaded one (nor the other way round).
    Add(server.Url("/p"), true);
    Add(server.Url("/P"), true);
    renderer.answers[server.Url("/p")] = Page("<div>Price: 13.00 USD</div>");
    Run();
    EXPECT_EQ(renderer.asked, std::vector<std::string>{server.Url("/p")});
    EXPECT_EQ(renderer.deadlines, std::vector<int64_t>{120000});
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Row(row).image, static_cast<int>(ItemState::Done)) << row;
        EXPECT_EQ(Row(row).texts[2], row < 2 ? "12.50 USD " : "13.00 USD ") << row;
    }
    EXPECT_EQ(renderer.releases, 1);
    EXPECT_EQ(requests.load(), 4);  // one download per run, two requests each
}

TEST_F(RenderCollectTest, AtMostTwoRenderAtOnceWhileLaterPagesDownload) {
    renderer.delay = 150ms;
    for (int i = 1; i <= 5; ++i) {
        const std::string url = server.Url("/r" + std::to_string(i));
        renderer.answers[url] = Page("<p>Price: " + std::to_string(i) + ".00 USD</p>");
        Add(url, true);
        Add(server.Url("/p" + std::to_string(i)), false, "Price:#DATA,1,3#");
    }
    int downloadedByFirstRender = 0;
    renderer.firstAnswer = [&] { downloadedByFirstRender = requests.load(); };
    CollectSettings settings;
    settings.fetch.pageDeadlineSeconds = 0;  // none: a render still ends in time
    Run(settings);
    // The plain pages of every row came while the first render was awaited.
    EXPECT_EQ(downloadedByFirstRender, 10);
    EXPECT_EQ(renderer.mostOpen, 2u);
    EXPECT_EQ(renderer.deadlines.front(), 300000);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Row(2 * i).texts[2], std::to_string(i + 1) + ".00 USD ");
        EXPECT_EQ(Row(2 * i + 1).texts[2], "12.50 USD " + std::to_string(i + 1) + " ");
    }
}

TEST_F(RenderCollectTest, AFailedRenderKeepsItsReasonUntilTheItemRunsWell) {
    Add("ftp://127.0.0.1/price.html", true);
    Add(server.Url("/late"), true);
    Add(server.Url("/late"), false);  // a plain page of the same URL is not failed with it
    RenderOutcome late;
    late.failure = {RenderFailure::Kind::Timeout, ""};
    renderer.answers[server.Url("/late")] = late;
    Run();
    EXPECT_EQ(renderer.asked, std::vector<std::string>{server.Url("/late")});  // no ftp
    EXPECT_EQ(Row(0).image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(Row(1).image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(Row(2).image, static_cast<int>(ItemState::Done));
    EXPECT_EQ(list.reasons.Of(1).kind, RowReason::Kind::RenderScheme);
    EXPECT_EQ(list.reasons.Of(2).kind, RowReason::Kind::RenderTimeout);
    EXPECT_EQ(KindInfo(RowReason::Kind::RenderTimeout).name, "render-timeout");
    EXPECT_NE(list.reasons.Of(3).kind, RowReason::Kind::RenderTimeout);

    renderer.answers[server.Url("/late")] = Page("<p>Price: 9.00 USD</p>");
    Run();
    EXPECT_EQ(Row(1).texts[2], "9.00 USD ");
    EXPECT_TRUE(list.reasons.Of(2).Good());
    EXPECT_EQ(list.reasons.Of(1).kind, RowReason::Kind::RenderScheme);
}

TEST_F(RenderCollectTest, StopCancelsTheRenderThatIsAwaited) {
    Add(server.Url("/never"), true);
    CollectWorker worker(host, list);
    host.RunOnListThread([&] { worker.Start(); });
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (renderer.Open() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(renderer.Open(), 1u);
    host.RunOnListThread([&] { worker.Stop(); });
    worker.Wait();
    EXPECT_EQ(renderer.cancels, 1);
    EXPECT_EQ(renderer.releases, 1);
    EXPECT_EQ(Row(0).image, static_cast<int>(ItemState::Working));
}

}  // namespace
}  // namespace pagelark
