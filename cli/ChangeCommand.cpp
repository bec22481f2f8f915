#include "cli/ChangeCommand.h"

#include "cli/ChildSignals.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace pagelark::cli {
namespace {

constexpr int kPollMs = 20;

// Writes `input` to the command's pipe until it is all written, the command
// closed its end or ended, or `stop` answers true. A closed pipe raises
// SIGPIPE, which would end this program: it is held back meanwhile and
// dropped after.
void Feed(int fd, std::string_view input, pid_t child, const std::function<bool()>& stop) {
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    while (!input.empty() && !stop()) {
        pollfd ready{fd, POLLOUT, 0};
        if (poll(&ready, 1, kPollMs) == 0) {
            siginfo_t ended{};
            waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOHANG | WNOWAIT);
            if (ended.si_pid != 0) break;  // it ended without reading
            continue;
        }
        const ssize_t wrote = write(fd, input.data(), input.size());
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) break;  // EPIPE: the command does not read it all
        input.remove_prefix(static_cast<size_t>(wrote));
    }
    const timespec now{0, 0};
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE)) sigtimedwait(&pipeSignal, nullptr, &now);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace

std::string RunChangeCommand(const std::vector<std::string>& words, std::string_view input,
                             const std::function<bool()>& stop) {
    if (words.empty()) return "no command";
    const std::string& program = words.front();
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return "cannot run " + program + ": " + strerror(errno);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    ResetChildSignals(attributes);

    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned =
        posix_spawnp(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[0]);
    if (spawned != 0) {
        close(pipeEnds[1]);
        return "cannot run " + program + ": " + strerror(spawned);
    }
    Feed(pipeEnds[1], input, child, stop);
    close(pipeEnds[1]);

    int status = 0;
    while (true) {
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) break;
        if (ended < 0 && errno != EINTR) return "";
        // Stopping does not wait for the command; it finishes on its own.
        if (stop()) return "";
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return program + " exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return program + " was ended by signal " + std::to_string(WTERMSIG(status));
    return "";
}

}  // namespace pagelark::cli
