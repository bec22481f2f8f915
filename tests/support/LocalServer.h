#pragma once

#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagelark {

// An HTTP(S) server on 127.0.0.1 inside the test process that records every
// request it receives before its handler runs.
class LocalServer {
  public:
    struct Request {
        std::string path;
        int remotePort = 0;
        httplib::Headers headers;
    };

    explicit LocalServer(
        std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>(),
        std::string scheme = "http")
        : m_server(std::move(server)), m_scheme(std::move(scheme)) {
        m_server->set_keep_alive_timeout(1);
        // Without TCP_NODELAY every answer waits ~40 ms for a delayed ACK,
        // since headers and body are written separately.
        m_server->set_socket_options([](socket_t sock) {
            const int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        });
        m_server->set_pre_routing_handler(
            [this](const httplib::Request& request, httplib::Response&) {
                const std::lock_guard<std::mutex> hold(m_lock);
                m_requests.push_back({request.path, request.remote_port, request.headers});
                return httplib::Server::HandlerResponse::Unhandled;
            });
    }
    ~LocalServer() { Stop(); }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    httplib::Server& Routes() { return *m_server; }

    // On another loopback address (127.0.0.2 ...), the server is another host.
    void Start(std::string address = "127.0.0.1") {
        m_address = std::move(address);
        m_port = m_server->bind_to_any_port(m_address);
        m_thread = std::thread([this] { m_server->listen_after_bind(); });
        // stop() does nothing until the loop runs, so a quick test could hang.
        while (!m_server->is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Stop() {
        if (!m_thread.joinable()) return;
        m_server->stop();
        m_thread.join();
    }

    std::string Url(const std::string& path) const {
        return m_scheme + "://" + m_address + ":" + std::to_string(m_port) + path;
    }
    int Port() const { return m_port; }
    std::vector<Request> Requests() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_requests;
    }

  private:
    std::unique_ptr<httplib::Server> m_server;
    const std::string m_scheme;
    std::string m_address = "127.0.0.1";
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::vector<Request> m_requests;
};

// A port on 127.0.0.1 where nothing listens: bound for a moment, never
// listened on, then closed, so a connection there is refused at once.
inline int ClosedPort() {
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(sock);
    return port;
}

}  // namespace pagelark
