// Every row without a good Result knows why, in a form the window and the CLI
// put into words: each failure comes from a real server on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/MemoryCollectHost.h"
#include "engine/collect/RowReason.h"
#include "engine/page/ExtractResult.h"
#include "tests/support/LocalServer.h"
#include "tests/support/SelfSignedCertificate.h"

namespace pagelark {
namespace {

using Kind = RowReason::Kind;

struct Collected {
    int image = 0;
    std::string result;
    RowReason reason;
};

// Collects one item as a run of the list does.
Collected CollectOne(const std::string& url, const std::string& filter,
                     const CollectSettings& settings = {}) {
    ItemList list;
    const int number = list.TakeItemNumber();
    const ItemRecord item = DefinedItem(number, "item", filter, url);
    MemoryCollectHost host([&](int) { return item; });
    AppendItemRow(host.Rows(), number, item.name);
    CollectWorker worker(host, list, settings);
    host.RunOnListThread([&] { worker.Start(); });
    worker.Wait();
    const MemoryRow& row = host.MemoryRowsOf().Rows()[0];
    return {row.image, row.texts[2], list.reasons.Of(number)};
}

// Accepts connections and resets each once its request is in.
class ResettingServer {
  public:
    ResettingServer() {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        ::listen(m_socket, 4);
        m_thread = std::thread([this] {
            for (int client; (client = ::accept(m_socket, nullptr, nullptr)) >= 0;) {
                char request[4096];
                (void)::recv(client, request, sizeof request, 0);
                const linger abort{1, 0};  // close with RST
                ::setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
                ::close(client);
            }
        });
    }
    ~ResettingServer() {
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        m_thread.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }

  private:
    int m_socket = -1;
    int m_port = 0;
    std::thread m_thread;
};

class RowReasonTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (const char* name :
             {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            unsetenv(name);
    }
};

TEST_F(RowReasonTest, AFailedDownloadSaysWhy) {
    // A name that never resolves; the resolver is asked once and briefly, in
    // case no name server answers at all.
    setenv("RES_OPTIONS", "timeout:1 attempts:1", 1);
    EXPECT_EQ(CollectOne("http://pagelark-test.invalid/", "a#DATA#b").reason.kind,
              Kind::HostNotFound);
    unsetenv("RES_OPTIONS");

    const Collected refused =
        CollectOne("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/", "a#DATA#b");
    EXPECT_EQ(refused.image, static_cast<int>(ItemState::Failed));
    EXPECT_EQ(refused.reason.kind, Kind::Refused);

    const ResettingServer resetting;
    EXPECT_EQ(CollectOne(resetting.Url(), "a#DATA#b").reason.kind, Kind::Reset);

    EXPECT_EQ(CollectOne("abc", "a#DATA#b").reason.kind, Kind::NoHost);
    EXPECT_EQ(CollectOne("gopher://127.0.0.1/", "a#DATA#b").reason.kind, Kind::Scheme);
}

TEST_F(RowReasonTest, ASilentServerIsNoAnswerWithinItsSeconds) {
    LocalServer server;
    std::atomic<bool> released{false};
    server.Routes().Get("/silent", [&](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html", [&](size_t, httplib::DataSink& sink) {
            sink.write("<p>", 3);
            while (!released)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return false;
        });
    });
    server.Start();
    CollectSettings settings;
    settings.fetch.stallTimeoutSeconds = 1;
    const Collected silent = CollectOne(server.Url("/silent"), "a#DATA#b", settings);
    EXPECT_EQ(silent.reason, (RowReason{Kind::NoAnswer, 1, {}}));
    settings.fetch.stallTimeoutSeconds = 60;
    settings.fetch.pageDeadlineSeconds = 1;
    EXPECT_EQ(CollectOne(server.Url("/silent"), "a#DATA#b", settings).reason,
              (RowReason{Kind::Deadline, 1, {}}));
    released = true;
}

// An error page is read like any page: the row is Done with what its Filter
// gives there, and the status is why that is no good Result.
TEST_F(RowReasonTest, AnErrorStatusIsReadAndGivenAsTheReason) {
    LocalServer server;
    for (const int status : {404, 500}) {
        server.Routes().Get("/" + std::to_string(status),
                            [status](const httplib::Request&, httplib::Response& response) {
                                response.status = status;
                                response.set_content("<p>Price: none here</p>", "text/html");
                            });
    }
    server.Routes().Get("/fine", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("<p>Price: 12 USD</p>", "text/html");
    });
    server.Start();
    for (const int status : {404, 500}) {
        const Collected error =
            CollectOne(server.Url("/" + std::to_string(status)), "Price:#DATA,1#");
        EXPECT_EQ(error.image, static_cast<int>(ItemState::Done));
        EXPECT_EQ(error.result, "none ");
        EXPECT_EQ(error.reason, (RowReason{Kind::HttpStatus, status, {}}));
    }
    EXPECT_TRUE(CollectOne(server.Url("/fine"), "Price:#DATA,1#").reason.Good());
    EXPECT_EQ(CollectOne(server.Url("/fine"), "Cost:#DATA,1#").reason.kind, Kind::StartNotFound);
}

TEST_F(RowReasonTest, ARefusedCertificateIsNamed) {
    const SelfSignedCertificate certificate("reason");
    ASSERT_TRUE(certificate.made) << "openssl could not make a certificate";
    {
        LocalServer server(
            std::make_unique<httplib::SSLServer>(certificate.cert.c_str(), certificate.key.c_str()),
            "https");
        server.Routes().Get("/", [](const auto&, auto& response) {
            response.set_content("<p>Price: 1</p>", "text/html");
        });
        server.Start();
        const Collected refused = CollectOne(server.Url("/"), "Price:#DATA,1#");
        EXPECT_EQ(refused.image, static_cast<int>(ItemState::Failed));
        EXPECT_EQ(refused.reason.kind, Kind::Certificate);
    }
}

TEST(RowReasonOfPage, TheFiltersMissIsTheReasonUnlessTheStatusOrTheCutExplainsIt) {
    EXPECT_EQ(ExtractResult("Price: 12", "Cost#DATA,1#").miss, FilterMiss::StartNotFound);
    EXPECT_EQ(ExtractResult("Price: 12", "Price#DATA,1#USD").miss, FilterMiss::EndNotFound);
    EXPECT_EQ(ExtractResult("Price: 12", "Price#PARA,1#USD").miss, FilterMiss::None);
    EXPECT_EQ(ExtractResult("Price: 12", "Price#DATA,1,1,NEAR x#").miss, FilterMiss::NearNotFound);
    EXPECT_EQ(ExtractResult("Price: 12", "Price#FOO#").miss, FilterMiss::Unreadable);
    EXPECT_EQ(ExtractResult("Price: 12", "Price#HREF#").miss, FilterMiss::NoLinks);

    EXPECT_TRUE(ReasonOfPage(200, false, FilterMiss::None).Good());
    EXPECT_EQ(ReasonOfPage(399, false, FilterMiss::EndNotFound).kind, Kind::EndNotFound);
    EXPECT_EQ(ReasonOfPage(410, true, FilterMiss::None), (RowReason{Kind::HttpStatus, 410, {}}));
    EXPECT_EQ(ReasonOfPage(200, true, FilterMiss::StartNotFound),
              (RowReason{Kind::PageTooBig, 150000, {}}));
    EXPECT_EQ(ReasonOfPage(200, true, FilterMiss::Unreadable).kind, Kind::FilterUnreadable);
}

TEST(RowReasonWords, TheNumberOrTheDetailFillsTheText) {
    EXPECT_EQ(ReasonWords({Kind::HttpStatus, 404, {}}, "HTTP status %1"), "HTTP status 404");
    EXPECT_EQ(ReasonWords({Kind::FetchFailed, 0, "Login denied"}, "failed: %1."),
              "failed: Login denied.");
    for (const RowReasonKindInfo& info : kRowReasonKinds) {
        if (info.kind == Kind::None) continue;
        EXPECT_EQ(KindNamed(info.name), info.kind) << info.name;
    }
    EXPECT_FALSE(KindNamed(""));
    EXPECT_FALSE(KindNamed("made-up"));
}

}  // namespace
}  // namespace pagelark
