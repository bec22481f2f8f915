// The window renders the items marked "Render the page first" in its own
// browser engine: pages whose scripts write what the Filter looks for, a page
// that never finishes loading, and the same HTML rendered and downloaded.

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <thread>

#include "app/SplashWindow.h"
#include "app/render/RenderPool.h"
#include "app/window/MainDlg.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "files/SnapFile.h"
#include "report/widgets/ReportCtrl.h"
#include "tests/support/LocalServer.h"
#include "tests/support/RenderPages.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::seconds kDeadline{10};

class WindowRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SplashWindow::SetEnabled(false);
        ServeRenderPages(server, released);
        server.Start();
        // Long enough for the engine's first page process to start.
        QSettings().setValue("PageDeadlineSeconds", static_cast<int>(kDeadline.count()));
        window = std::make_unique<CMainDlg>();
        window->show();
    }
    void TearDown() override {
        released = true;
        window.reset();
        server.Stop();
        QSettings().remove("PageDeadlineSeconds");
    }

    void Add(const std::string& name, const std::string& filter, const std::string& path,
             bool render) {
        m_script += "<item><name>" + name + "</name><format>" + filter + "</format><url>" +
                    server.Url(path) + "</url>" + (render ? "<render>yes</render>" : "") +
                    "</item>\r\n";
    }
    // Loads the items added, as the Load button does, and runs them.
    void Run() {
        const QString path = m_dir.filePath("list.xml");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString("<xml version=1.0>\r\n" + m_script + "</xml>"));
        file.close();
        window->LoadScriptFile(path);
        window->OnStartStop();
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->Worker().Idle(); }, 30000));
    }
    int Image(int row) { return window->Rows().GetItemImage(row); }
    std::string Result(int row) { return window->List()->GetItemText(row, 2); }
    std::string Entries(int number) {
        return window->Items().results.Entries(ItemKey(number)).value_or("");
    }
    bool Requested(const std::string& path) {
        for (const LocalServer::Request& request : server.Requests())
            if (request.path == path) return true;
        return false;
    }

    LocalServer server;
    std::atomic<bool> released{false};
    std::unique_ptr<CMainDlg> window;

    QTemporaryDir m_dir;
    std::string m_script;
};

TEST_F(WindowRenderTest, PlainItemsNeverStartTheEngine) {
    Add("Price", "Price:#DATA,1,2#", "/late", false);
    Run();
    EXPECT_EQ(Result(0), "N/A");
    EXPECT_FALSE(window->Renders().EngineStarted());
}

TEST_F(WindowRenderTest, RenderedPagesAreReadOnceTheirScriptsRan) {
    // First, so that its deadline runs out while the others render.
    Add("Endless", "Price:#DATA,1,2#", "/endless", true);
    Add("Price", "Price:#DATA,1,2#", "/late", false);
    Add("Price", "Price:#DATA,1,2#", "/late", true);
    Add("News", "Latest#HREF,5,4#end", "/links", false);
    Add("News", "Latest#HREF,5,4#end", "/links", true);
    const auto started = std::chrono::steady_clock::now();
    Run();
    const auto took = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(Result(1), "N/A");
    EXPECT_EQ(Result(2), "12.50 USD ");
    EXPECT_EQ(Image(2), static_cast<int>(ItemState::Done));
    EXPECT_FALSE(Requested("/popup"));
    EXPECT_FALSE(Requested("/located"));

    // The same HTML rendered and downloaded: the same entries (their links
    // numbered on from the other's) and the same snapshot lines.
    EXPECT_EQ(Result(3), "2 Items Found");
    EXPECT_EQ(Result(4), "2 Items Found");
    const std::regex marker("__A\\d+;");
    EXPECT_EQ(std::regex_replace(Entries(4), marker, "#"),
              std::regex_replace(Entries(5), marker, "#"));
    EXPECT_NE(Entries(4), Entries(5));
    ReportRows& rows = static_cast<ReportRows&>(window->Rows());
    const std::string snap = BuildSnapText(rows, window->Items().results, window->Items().links);
    const std::string links = "\r\n1. First story of the day," + server.Url("/one") +
                              "\r\n2. Second story here," + server.Url("/two.html") + "\r\n";
    const size_t plain = snap.find(links);
    ASSERT_NE(plain, std::string::npos) << snap;
    EXPECT_NE(snap.find(links, plain + links.size()), std::string::npos) << snap;

    // The page that never finished loading failed at its deadline, with why.
    EXPECT_EQ(Image(0), static_cast<int>(ItemState::Failed));
    EXPECT_EQ(Result(0), "");
    EXPECT_EQ(window->Items().reasons.Of(1).kind, RowReason::Kind::RenderTimeout);
    EXPECT_GE(took, kDeadline);
    EXPECT_LT(took, 3 * kDeadline);

    // The run is over: the pages go, and their processes with them.
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Renders().PageCount() == 0; }, 5000));
}

}  // namespace
}  // namespace pagelark
