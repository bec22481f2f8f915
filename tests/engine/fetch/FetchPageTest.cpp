#include "engine/fetch/FetchPage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "engine/fetch/InternetFile.h"
#include "engine/fetch/InternetSession.h"
#include "engine/fetch/SplitUrl.h"
#include "tests/support/LocalServer.h"
#include "tests/support/SelfSignedCertificate.h"

namespace pagelark {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kUntouched = "untouched";

struct Fetched {
    bool ok = false;
    std::string text = kUntouched;
};

Fetched Fetch(const std::string& url, const std::function<bool()>& cancelled = {},
              const FetchSettings& settings = {}) {
    Fetched result;
    result.ok = FetchPage(url, result.text, cancelled, settings);
    return result;
}

std::string Header(const LocalServer::Request& request, const char* name) {
    return httplib::detail::get_header_value(request.headers, name, 0, "");
}

class FetchPageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Requests to 127.0.0.1 must not go through a proxy of the machine.
        for (const char* name :
             {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "ftp_proxy"})
            unsetenv(name);
    }
    void TearDown() override {
        {
            const std::lock_guard<std::mutex> hold(m_stallLock);
            m_released = true;
        }
        m_stallWake.notify_all();
        m_server.Stop();
    }

    // Sends the first bytes of a longer body, then nothing until the test ends.
    void ServeStall(httplib::Response& response) {
        response.set_content_provider(
            1000, "text/html", [this](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset == 0) sink.write("<html>", 6);
                m_stalled = true;
                std::unique_lock<std::mutex> hold(m_stallLock);
                m_stallWake.wait_for(hold, std::chrono::seconds(10), [this] { return m_released; });
                return false;
            });
    }

    LocalServer m_server;
    std::atomic<bool> m_stalled{false};
    std::mutex m_stallLock;
    std::condition_variable m_stallWake;
    bool m_released = false;
};

TEST_F(FetchPageTest, NothingIsSentForUrlsItCannotFetch) {
    m_server.Start();
    const std::string port = std::to_string(m_server.Port());
    bool asked = false;
    const auto cancelled = [&] { return asked = true, false; };
    // No host: refused before any transfer starts.
    for (const char* url : {"abc", "", "example.com/x", "file:///etc/hostname", "http://"}) {
        const Fetched fetched = Fetch(url, cancelled);
        EXPECT_FALSE(fetched.ok) << url;
        EXPECT_EQ(fetched.text, kUntouched) << url;
    }
    EXPECT_FALSE(asked);
    // A host but a scheme other than http, https, ftp or ftps.
    for (const std::string scheme : {"dict", "gopher", "telnet"}) {
        EXPECT_FALSE(Fetch(scheme + "://127.0.0.1:" + port + "/x").ok) << scheme;
    }
    EXPECT_TRUE(m_server.Requests().empty());
}

TEST_F(FetchPageTest, EmptyAndErrorPagesAreFetched) {
    m_server.Routes().Get(
        "/empty", [](const auto&, auto& response) { response.set_content("", "text/html"); });
    m_server.Routes().Get("/missing", [](const auto&, auto& response) {
        response.status = 404;
        response.set_content("<p>No such page</p>", "text/html");
    });
    m_server.Start();

    const Fetched empty = Fetch(m_server.Url("/empty"));
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.text, "");
    const Fetched missing = Fetch(m_server.Url("/missing"));
    EXPECT_TRUE(missing.ok);
    EXPECT_EQ(missing.text, "<p>No such page</p>");
}

TEST_F(FetchPageTest, UnreachablePortFailsAndKeepsTheLength) {
    m_server.Start();
    m_server.Stop();  // nothing listens on the port any more
    const Fetched fetched = Fetch(m_server.Url("/"));
    EXPECT_FALSE(fetched.ok);
    EXPECT_EQ(fetched.text, kUntouched);
}

TEST_F(FetchPageTest, SendsTwiceOnOneConnectionAndReturnsTheSecondAnswer) {
    std::atomic<int> count{0};
    m_server.Routes().Get("/page", [&](const auto&, auto& response) {
        response.set_content("answer " + std::to_string(++count), "text/html");
    });
    m_server.Start();

    const Fetched fetched = Fetch(m_server.Url("/page"));
    EXPECT_TRUE(fetched.ok);
    EXPECT_EQ(fetched.text, "answer 2");
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.path, "/page");
        EXPECT_EQ(Header(request, "User-Agent"), "Pagelark");
        EXPECT_EQ(Header(request, "Cache-Control"), "no-cache");
        EXPECT_EQ(Header(request, "Pragma"), "no-cache");
    }
    EXPECT_EQ(requests[0].remotePort, requests[1].remotePort);
}

TEST_F(FetchPageTest, ExtraHeadersFollowThePlatformRules) {
    m_server.Routes().Get(
        "/", [](const auto&, auto& response) { response.set_content("x", "text/plain"); });
    m_server.Start();
    InternetSession session("Pagelark", {}, {});
    const auto file = session.OpenURL(SplitUrl(m_server.Url("/")));
    EXPECT_FALSE(file->AddRequestHeaders("Pagelark"));  // no colon
    EXPECT_FALSE(file->AddRequestHeaders("Pragma: again"));
    EXPECT_TRUE(file->AddRequestHeaders("X-One: 1\r\nX-Two: 2"));
    EXPECT_FALSE(file->AddRequestHeaders("x-one: 3"));
    file->SendRequest();
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].headers.count("X-One"), 0u);
    EXPECT_EQ(Header(requests[1], "X-One"), "1");
    EXPECT_EQ(Header(requests[1], "X-Two"), "2");
}

TEST_F(FetchPageTest, LongPagesAreCutAtTheBuffer) {
    std::string digits(200000, '\0');
    for (size_t i = 0; i < digits.size(); ++i)
        digits[i] = static_cast<char>('0' + i % 10);
    // 200000 Cyrillic letters in windows-1251: twice as long in UTF-8.
    const std::string cyrillic(200000, '\xE4');
    std::atomic<int> count{0};
    m_server.Routes().Get("/digits", [&](const auto&, auto& response) {
        response.set_content(digits, "text/plain");
    });
    m_server.Routes().Get("/cyrillic", [&](const auto&, auto& response) {
        response.set_content(cyrillic, "text/plain; charset=windows-1251");
    });
    // The first answer is too long to read just to keep its connection.
    m_server.Routes().Get("/huge-first", [&](const auto&, auto& response) {
        response.set_content(++count == 1 ? std::string(2000000, 'h') : "second", "text/plain");
    });
    m_server.Start();

    const Fetched plain = Fetch(m_server.Url("/digits"));
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ(plain.text, digits.substr(0, kPageBufferBytes));

    // The limit counts the bytes as downloaded: all 150000 letters arrive,
    // twice as long once converted.
    const Fetched converted = Fetch(m_server.Url("/cyrillic"));
    EXPECT_TRUE(converted.ok);
    std::string expected;
    for (size_t i = 0; i < kPageBufferBytes; ++i)
        expected += "\xD0\xB4";  // д
    EXPECT_EQ(converted.text, expected);

    const Fetched second = Fetch(m_server.Url("/huge-first"));
    EXPECT_TRUE(second.ok);
    EXPECT_EQ(second.text, "second");
}

TEST_F(FetchPageTest, UndeclaredUtf8CutInsideACharacterStaysUtf8) {
    // The buffer ends after the first byte of the second "é".
    const std::string e = "\xC3\xA9";
    const std::string page = e + std::string(kPageBufferBytes - 3, 'a') + e + "tail";
    m_server.Routes().Get(
        "/page", [&](const auto&, auto& response) { response.set_content(page, "text/html"); });
    m_server.Start();
    const Fetched fetched = Fetch(m_server.Url("/page"));
    EXPECT_TRUE(fetched.ok);
    EXPECT_EQ(fetched.text, page.substr(0, kPageBufferBytes - 1));
}

TEST_F(FetchPageTest, ABodyBrokenOffFailsThePage) {
    // The start of the body, a pause in which the page is being read, then
    // the connection closes: before the promised length, or before the
    // last chunk.
    const auto startThenClose = [](size_t offset, httplib::DataSink& sink) {
        if (offset == 0) return sink.write("<p>half of the page", 19);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return false;
    };
    m_server.Routes().Get("/sized", [startThenClose](const auto&, auto& response) {
        response.set_content_provider(
            1000, "text/html", [startThenClose](size_t offset, size_t, httplib::DataSink& sink) {
                return startThenClose(offset, sink);
            });
    });
    m_server.Routes().Get("/chunked", [startThenClose](const auto&, auto& response) {
        response.set_chunked_content_provider("text/html", startThenClose);
    });
    m_server.Start();
    for (const char* path : {"/sized", "/chunked"}) {
        const Fetched fetched = Fetch(m_server.Url(path));
        EXPECT_FALSE(fetched.ok) << path;
        EXPECT_EQ(fetched.text, kUntouched) << path;
    }
}

TEST_F(FetchPageTest, StalledPageIsAbandonedSoonAfterTheRunStops) {
    std::atomic<int> count{0}, stallAt{0};
    m_server.Routes().Get("/stall", [&](const auto&, auto& response) {
        if (++count == stallAt)
            ServeStall(response);
        else
            response.set_content("<html>done</html>", "text/html");
    });
    m_server.Start();
    // The page stops sending during the first answer, then during the second.
    for (const int at : {1, 2}) {
        stallAt = at;
        count = 0;
        m_stalled = false;
        Clock::time_point stoppedAt{};
        const auto cancelled = [&] {
            if (!m_stalled) return false;
            if (stoppedAt == Clock::time_point{}) stoppedAt = Clock::now();
            return true;
        };
        const Fetched fetched = Fetch(m_server.Url("/stall"), cancelled);
        EXPECT_FALSE(fetched.ok) << at;
        EXPECT_EQ(fetched.text, kUntouched);
        ASSERT_NE(stoppedAt, Clock::time_point{});
        EXPECT_LT(Clock::now() - stoppedAt, std::chrono::seconds(1)) << at;
        EXPECT_EQ(count, at);
    }
}

TEST_F(FetchPageTest, SilentServerFailsAfterTheStallTimeOut) {
    m_server.Routes().Get("/stall", [&](const auto&, auto& response) { ServeStall(response); });
    m_server.Start();
    FetchSettings settings;
    settings.stallTimeoutSeconds = 1;
    const auto started = Clock::now();
    EXPECT_FALSE(Fetch(m_server.Url("/stall"), {}, settings).ok);
    const auto took = Clock::now() - started;
    EXPECT_GE(took, std::chrono::seconds(1));
    EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(FetchPageTest, PagesInOtherCharsetsArriveAsUtf8) {
    m_server.Routes().Get("/gbk", [](const auto&, auto& response) {
        response.set_content("<p>\xD6\xD0\xCE\xC4</p>", "text/html; charset=gb2312");
    });
    m_server.Routes().Get("/cp1251", [](const auto&, auto& response) {
        response.set_content(
            "<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=windows-1251\"></head>\xCF\xF0\xE8\xE2\xE5\xF2",
            "text/html");
    });
    m_server.Start();
    EXPECT_EQ(Fetch(m_server.Url("/gbk")).text, "<p>\xE4\xB8\xAD\xE6\x96\x87</p>");  // 中文
    const Fetched cp1251 = Fetch(m_server.Url("/cp1251"));
    EXPECT_TRUE(cp1251.text.ends_with(
        "</head>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"));  // Привет
}

TEST_F(FetchPageTest, RedirectsAreFollowedButNeverToLocalFiles) {
    m_server.Routes().Get("/moved",
                          [](const auto&, auto& response) { response.set_redirect("/target"); });
    m_server.Routes().Get("/target", [](const auto&, auto& response) {
        response.set_content("arrived", "text/plain");
    });
    m_server.Routes().Get("/to-file", [](const auto&, auto& response) {
        response.set_redirect("file:///etc/hostname");
    });
    m_server.Start();
    EXPECT_EQ(Fetch(m_server.Url("/moved")).text, "arrived");
    EXPECT_FALSE(Fetch(m_server.Url("/to-file")).ok);
}

TEST(FetchPageHttps, TrustedSelfSignedCertificate) {
    const SelfSignedCertificate certificate("fetch");
    ASSERT_TRUE(certificate.made) << "openssl could not make a certificate";
    {
        LocalServer server(
            std::make_unique<httplib::SSLServer>(certificate.cert.c_str(), certificate.key.c_str()),
            "https");
        server.Routes().Get(
            "/", [](const auto&, auto& response) { response.set_content("secure", "text/plain"); });
        server.Start();
        FetchSettings trusting;
        trusting.caFile = certificate.cert;
        EXPECT_EQ(Fetch(server.Url("/"), {}, trusting).text, "secure");
        EXPECT_FALSE(Fetch(server.Url("/")).ok);  // the system store does not know it
    }
}

}  // namespace
}  // namespace pagelark
