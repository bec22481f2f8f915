#include "controls/platform/RunProgram.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace pagelark {
namespace {

ProgramOutcome FromStatus(int status) {
    if (WIFEXITED(status)) return {ProgramOutcome::Kind::Exited, WEXITSTATUS(status)};
    return {ProgramOutcome::Kind::Killed, WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

}  // namespace

ProgramOutcome RunProgram(const QStringList& argv, int timeoutMs) {
    if (argv.isEmpty() || argv.front().isEmpty()) return {};
    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(argv.size()));
    for (const QString& arg : argv)
        args.push_back(arg.toStdString());
    std::vector<char*> pointers;
    for (std::string& arg : args)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawnp(&pid, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) {
        return {};
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            // posix_spawnp reports a missing program as the child's exit 127.
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return {};
            return FromStatus(status);
        }
        if (done < 0 && errno != EINTR) return {ProgramOutcome::Kind::Killed, 0};
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
    // A browser started in the foreground keeps its opener running: leave it
    // be, and reap it whenever it ends so no zombie stays behind.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return {ProgramOutcome::Kind::StillRunning, 0};
}

}  // namespace pagelark
