#include "cli/HelperRenderer.h"

#include "cli/ChildSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

extern char** environ;

namespace pagelark::cli {
namespace {

// How long an ended helper gets to leave before it is killed.
constexpr auto kLeaveTime = std::chrono::seconds(5);

RenderOutcome Failed(std::string detail) {
    RenderOutcome outcome;
    outcome.failure = {RenderFailure::Kind::Other, std::move(detail)};
    return outcome;
}

RenderOutcome FromFrame(RenderFrame frame) {
    RenderOutcome outcome;
    if (frame.type == RenderFrame::Type::Done) {
        outcome.ok = true;
        outcome.html = std::move(frame.payload);
        return outcome;
    }
    const auto kind = static_cast<RenderFailure::Kind>(frame.number);
    const bool known = kind == RenderFailure::Kind::Timeout ||
                       kind == RenderFailure::Kind::RefusedScheme ||
                       kind == RenderFailure::Kind::Other;
    outcome.failure = {known ? kind : RenderFailure::Kind::Other, std::move(frame.payload)};
    return outcome;
}

bool Executable(const std::filesystem::path& path) {
    return ::access(path.c_str(), X_OK) == 0 && !std::filesystem::is_directory(path);
}

}  // namespace

std::string FindRenderHelper() {
    if (const char* set = std::getenv("PAGELARK_RENDER_HELPER"); set != nullptr && *set != '\0')
        return set;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        for (const char* beside : {"pagelark", "../app/pagelark"}) {
            const std::filesystem::path candidate = self.parent_path() / beside;
            if (Executable(candidate)) return candidate.lexically_normal().string();
        }
    }
    return "pagelark";
}

HelperRenderer::HelperRenderer(std::string program) : m_program(std::move(program)) {}

HelperRenderer::~HelperRenderer() {
    Stop();
}

bool HelperRenderer::Running() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_pid > 0;
}

void HelperRenderer::Render(uint64_t ticket, const std::string& url, int64_t deadlineMs,
                            Done done) {
    bool restart = false;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        restart = m_gone;
    }
    if (restart) Stop();  // a helper that ended is waited for before the next starts

    std::string problem;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (url.size() > kMaxRenderPayload) problem = "the address is too long to render";
        if (problem.empty() && m_pid <= 0) problem = StartLocked();
        if (problem.empty()) {
            m_open.emplace(ticket, std::move(done));
            RenderFrame frame{RenderFrame::Type::Render, ticket,
                              static_cast<uint64_t>(std::max<int64_t>(deadlineMs, 0)), url};
            if (SendLocked(frame)) return;
            done = std::move(m_open.at(ticket));
            m_open.erase(ticket);
            problem = "the browser helper stopped";
        }
    }
    done(Failed(std::move(problem)));
}

void HelperRenderer::Cancel(uint64_t ticket) {
    const std::lock_guard<std::mutex> hold(m_lock);
    if (m_open.erase(ticket) == 0) return;
    SendLocked({RenderFrame::Type::Cancel, ticket, 0, {}});
}

void HelperRenderer::Release() {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (!m_open.empty()) return;  // another run still renders
    }
    Stop();
}

std::string HelperRenderer::StartLocked() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return std::string("cannot start the browser helper: ") + std::strerror(errno);
    // The helper's end becomes its standard input; moved above the standard
    // descriptors first, so that the move always clears close-on-exec.
    const int childEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, 10);
    ::close(ends[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childEnd, STDIN_FILENO);
    // What the browser engine prints is not for the user of pagelark-cli.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own: Ctrl+C stops the run, which then ends the helper.
    posix_spawnattr_setpgroup(&attributes, 0);
    ResetChildSignals(attributes, POSIX_SPAWN_SETPGROUP);
    std::string program = m_program;
    std::string flag = kRenderHelperFlag;
    char* argv[] = {program.data(), flag.data(), nullptr};
    pid_t child = 0;
    // A name with a slash is taken as it stands, without a search of PATH.
    const int spawned =
        ::posix_spawnp(&child, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(childEnd);
    if (spawned != 0) {
        ::close(ends[0]);
        return "cannot start the browser helper " + m_program + ": " + std::strerror(spawned);
    }
    m_socket = ends[0];
    m_pid = child;
    m_gone = false;
    m_reader = std::thread([this, socket = m_socket] { Read(socket); });
    return {};
}

bool HelperRenderer::SendLocked(const RenderFrame& frame) {
    if (m_socket < 0 || m_gone) return false;
    const std::string bytes = EncodeRenderFrame(frame);
    size_t sent = 0;
    while (sent < bytes.size()) {
        // MSG_NOSIGNAL: a helper that is gone is an error here, not SIGPIPE.
        const ssize_t wrote =
            ::send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        sent += static_cast<size_t>(wrote);
    }
    return true;
}

void HelperRenderer::Read(int socket) {
    RenderFrameReader reader;
    std::vector<char> chunk(64 * 1024);
    while (true) {
        const ssize_t got = ::recv(socket, chunk.data(), chunk.size(), 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        reader.Feed(std::string_view(chunk.data(), static_cast<size_t>(got)));
        while (std::optional<RenderFrame> frame = reader.Next()) {
            if (frame->type != RenderFrame::Type::Done && frame->type != RenderFrame::Type::Failed)
                continue;
            Done done;
            {
                const std::lock_guard<std::mutex> hold(m_lock);
                const auto open = m_open.find(frame->ticket);
                if (open == m_open.end()) continue;  // cancelled meanwhile
                done = std::move(open->second);
                m_open.erase(open);
            }
            done(FromFrame(std::move(*frame)));
        }
        if (reader.Broken()) break;
    }
    // The helper ended (or can no longer be understood): what was open fails.
    std::map<uint64_t, Done> open;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_gone = true;
        open.swap(m_open);
    }
    for (auto& [ticket, done] : open)
        done(Failed("the browser helper stopped"));
}

void HelperRenderer::Stop() {
    int socket;
    pid_t pid;
    std::thread reader;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        socket = m_socket;
        pid = m_pid;
        reader = std::move(m_reader);
        m_socket = -1;
        m_pid = -1;
        m_gone = false;
    }
    if (socket >= 0) ::shutdown(socket, SHUT_RDWR);  // the helper reads its end and leaves
    if (reader.joinable()) reader.join();
    if (socket >= 0) ::close(socket);
    if (pid <= 0) return;
    const auto until = std::chrono::steady_clock::now() + kLeaveTime;
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= until) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return;
        }
        ::usleep(10000);
    }
}

}  // namespace pagelark::cli
