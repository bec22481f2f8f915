// When a fetch gives up: a name lookup that never answers, a header line that
// comes one byte at a time, a page that drips past its deadline, a page that
// stops sending for longer than the stall limit after some of it came.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/fetch/FetchPage.h"
#include "tests/support/LocalServer.h"

namespace {

constexpr char kStuckHost[] = "stuck.example";

std::mutex g_resolverLock;
std::condition_variable g_resolverWake;
bool g_resolverReleased = false;
std::atomic<bool> g_resolverEntered{false};

}  // namespace

// The resolver libcurl's lookup thread calls: the stuck host never gets an
// answer until the test lets it go; every other name is looked up as usual.
extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints,
                           addrinfo** result) noexcept {
    if (node && std::string_view(node) == kStuckHost) {
        g_resolverEntered = true;
        std::unique_lock<std::mutex> hold(g_resolverLock);
        g_resolverWake.wait(hold, [] { return g_resolverReleased; });
        return EAI_AGAIN;
    }
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto real = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    return real(node, service, hints, result);
}

namespace pagelark {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

TEST(FetchTiming, StopIsNotHeldUpByANameLookup) {
    Clock::time_point stoppedAt{};
    const auto cancelled = [&] {
        if (!g_resolverEntered) return false;
        if (stoppedAt == Clock::time_point{}) stoppedAt = Clock::now();
        return true;
    };
    const auto release = [] {
        {
            const std::lock_guard<std::mutex> hold(g_resolverLock);
            g_resolverReleased = true;
        }
        g_resolverWake.notify_all();
    };
    // Should the fetch wait for the lookup after all, it is let go after
    // 2 s so that the test fails instead of hanging.
    std::thread watchdog([&] {
        std::this_thread::sleep_for(2s);
        release();
    });
    std::string page;
    EXPECT_FALSE(FetchPage(std::string("http://") + kStuckHost + "/", page, cancelled));
    const auto took = Clock::now() - stoppedAt;
    release();
    watchdog.join();
    ASSERT_TRUE(g_resolverEntered);
    EXPECT_LT(took, 200ms);
}

// Answers every request on a connection: the first quickly, the second
// with a header line sent a byte every 200 ms for 1.6 s.
class DrippingHeaderServer {
  public:
    DrippingHeaderServer() {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        ::listen(m_listener, 4);
        m_thread = std::thread([this] { Serve(); });
    }
    ~DrippingHeaderServer() {
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }
    int Port() const { return m_port; }

  private:
    void Serve() {
        int answered = 0;
        while (true) {
            const int connection = ::accept(m_listener, nullptr, nullptr);
            if (connection < 0) return;
            std::string received;
            char chunk[1024];
            while (answered < 2) {
                const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
                if (got <= 0) break;
                received.append(chunk, static_cast<size_t>(got));
                if (received.find("\r\n\r\n") == std::string::npos) continue;
                received.clear();
                Send(connection, "HTTP/1.1 200 OK\r\nX-Slow: ");
                if (++answered == 2) {
                    for (int i = 0; i < 8; ++i) {
                        std::this_thread::sleep_for(200ms);
                        Send(connection, "x");
                    }
                }
                Send(connection, "\r\nContent-Type: text/plain\r\nContent-Length: 5\r\n\r\nhello");
            }
            ::close(connection);
        }
    }
    static void Send(int connection, const std::string& text) {
        (void)::send(connection, text.data(), text.size(), MSG_NOSIGNAL);
    }

    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
};

TEST(FetchTiming, EveryByteOfAHeaderLineKeepsTheTransferAlive) {
    const DrippingHeaderServer server;
    FetchSettings settings;
    settings.stallTimeoutSeconds = 1;
    std::string page;
    EXPECT_TRUE(
        FetchPage("http://127.0.0.1:" + std::to_string(server.Port()) + "/", page, {}, settings));
    EXPECT_EQ(page, "hello");
}

TEST(FetchTiming, APageThatDripsFailsAtItsDeadline) {
    // Each answer takes 0.6 s, a byte every 100 ms: either fits the 1 s
    // deadline alone, both together do not.
    LocalServer server;
    server.Routes().Get("/drip", [](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html",
                                              [](size_t offset, httplib::DataSink& sink) {
                                                  if (offset >= 6) {
                                                      sink.done();
                                                      return true;
                                                  }
                                                  std::this_thread::sleep_for(100ms);
                                                  return sink.write("x", 1);
                                              });
    });
    server.Start();
    FetchSettings settings;
    settings.pageDeadlineSeconds = 1;
    std::string page;
    const auto started = Clock::now();
    EXPECT_FALSE(FetchPage(server.Url("/drip"), page, {}, settings));
    const auto took = Clock::now() - started;
    EXPECT_GE(took, 1s);
    EXPECT_LT(took, 1500ms);
    settings.pageDeadlineSeconds = 2;
    EXPECT_TRUE(FetchPage(server.Url("/drip"), page, {}, settings));
    EXPECT_EQ(page, "xxxxxx");
}

// Answers with "<p>" and then, after each pause, one more byte, ending the
// page after the last.
void ServeWithPauses(LocalServer& server, std::vector<std::chrono::milliseconds> pauses) {
    server.Routes().Get("/pauses", [pauses](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html",
                                              [pauses](size_t offset, httplib::DataSink& sink) {
                                                  if (offset == 0) return sink.write("<p>", 3);
                                                  const size_t step = offset - 3;
                                                  if (step >= pauses.size()) {
                                                      sink.done();
                                                      return true;
                                                  }
                                                  std::this_thread::sleep_for(pauses[step]);
                                                  return sink.write("x", 1);
                                              });
    });
}

TEST(FetchTiming, ANoByteSpellFailsAtTheStallLimitWhateverCameBefore) {
    // The stall limit is 1 s here (60 s in use), and no page deadline.
    FetchSettings settings;
    settings.stallTimeoutSeconds = 1;
    settings.pageDeadlineSeconds = 0;
    std::string page;
    {
        // Some bytes, then 1.6 s of nothing: not twice the limit, but more.
        LocalServer server;
        ServeWithPauses(server, {1600ms});
        server.Start();
        EXPECT_FALSE(FetchPage(server.Url("/pauses"), page, {}, settings));
    }
    {
        // A byte every 1.5 s would keep a page alive forever if any byte
        // forgave the spell before it.
        LocalServer server;
        ServeWithPauses(server, {1500ms, 1500ms, 1500ms});
        server.Start();
        EXPECT_FALSE(FetchPage(server.Url("/pauses"), page, {}, settings));
    }
    {
        // Pauses shorter than the limit are fine, however many.
        LocalServer server;
        ServeWithPauses(server, {700ms, 700ms});
        server.Start();
        EXPECT_TRUE(FetchPage(server.Url("/pauses"), page, {}, settings));
        EXPECT_EQ(page, "<p>xx");
    }
}

}  // namespace
}  // namespace pagelark
