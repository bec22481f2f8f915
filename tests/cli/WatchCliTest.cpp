// pagelark-cli watch as a service runs it: runs again and again, changed rows
// printed and handed to a command, stopped by a signal with its state kept.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/support/LocalServer.h"
#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

// pagelark-cli started with the given arguments, its output read as it comes.
class CliProcess {
  public:
    explicit CliProcess(const std::vector<std::string>& args) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            close(out[0]);
            close(err[0]);
            std::vector<char*> argv{const_cast<char*>(PAGELARK_CLI)};
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(PAGELARK_CLI, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        m_readers.emplace_back([this, fd = out[0]] { Read(fd, m_out); });
        m_readers.emplace_back([this, fd = err[0]] { Read(fd, m_err); });
    }
    ~CliProcess() {
        if (m_status < 0) {
            kill(m_pid, SIGKILL);
            Wait(5s);
        }
        for (std::thread& reader : m_readers)
            reader.join();
    }

    std::string Out() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_out;
    }
    std::string Err() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_err;
    }
    // Lines of standard output so far.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(Out());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool WaitForLines(size_t count, std::chrono::seconds limit) const {
        for (auto end = std::chrono::steady_clock::now() + limit;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms))
            if (Lines().size() >= count) return true;
        return false;
    }
    void Signal(int signal) const { kill(m_pid, signal); }
    // The exit status, or -1 when it has not ended within `limit`.
    int Wait(std::chrono::seconds limit) {
        for (auto end = std::chrono::steady_clock::now() + limit;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
                break;
            }
        }
        return m_status;
    }

  private:
    void Read(int fd, std::string& into) {
        char chunk[4096];
        for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) {
            const std::lock_guard<std::mutex> hold(m_lock);
            into.append(chunk, static_cast<size_t>(got));
        }
        close(fd);
    }

    pid_t m_pid = -1;
    int m_status = -1;
    mutable std::mutex m_lock;
    std::string m_out;
    std::string m_err;
    std::vector<std::thread> m_readers;
};

class WatchCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Each request of /price gives a new price; /stable never changes;
        // /gate stalls while the test holds it.
        server.Routes().Get("/price", [this](const httplib::Request&, httplib::Response& r) {
            const int n = ++priceRequests;
            while (gated)
                std::this_thread::sleep_for(10ms);
            r.set_content("<p>Price: " + std::to_string(n) + " USD</p>", "text/html");
        });
        server.Routes().Get("/stable", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("<p>Price: 5 USD</p>", "text/html");
        });
        server.Start();
        base = ::testing::TempDir() + "pagelark-watch-" + std::to_string(getpid());
        script = base + ".xml";
        std::ofstream(script, std::ios::binary)
            << "<xml version=1.0>\r\n"
            << "<item><name>Moving</name><format>Price:#DATA,1#</format><url>"
            << server.Url("/price") << "</url></item>\r\n"
            << "<item><name>Stable</name><format>Price:#DATA,1#</format><url>"
            << server.Url("/stable") << "</url></item>\r\n</xml>";
    }
    void TearDown() override {
        gated = false;
        for (const char* suffix : {".xml", ".state", ".out"})
            std::remove((base + suffix).c_str());
    }

    std::atomic<int> priceRequests{0};
    std::atomic<bool> gated{false};
    LocalServer server;
    std::string base;
    std::string script;
};

TEST_F(WatchCliTest, TheCommandGetsExactlyTheChangedRowsAndSigtermKeepsTheState) {
    const std::string state = base + ".state";
    const std::string handed = base + ".out";
    CliProcess watch({"watch", script, "--every", "1", "--state", state, "--json", "--on-change",
                      "tee -a '" + handed + "'"});
    // The first run has nothing to compare with; the next two change item 1.
    ASSERT_TRUE(watch.WaitForLines(2, 20s)) << watch.Err();
    // A run that hangs on its page is stopped at once by SIGTERM.
    gated = true;
    const int asked = priceRequests;
    for (int i = 0; i < 500 && priceRequests == asked; ++i)
        std::this_thread::sleep_for(10ms);
    watch.Signal(SIGTERM);
    EXPECT_EQ(watch.Wait(10s), 143) << watch.Err();
    gated = false;

    const std::vector<std::string> printed = watch.Lines();
    ASSERT_GE(printed.size(), 2u);
    std::vector<std::string> received;
    std::istringstream in(ReadFile(handed));
    for (std::string line; std::getline(in, line);)
        received.push_back(line);
    EXPECT_EQ(received, printed) << "the command read each run's changed rows as printed";
    for (const std::string& line : printed) {
        const auto rows = nlohmann::json::parse(line);
        ASSERT_EQ(rows.size(), 1u) << line;
        EXPECT_EQ(rows[0]["number"], 1);
        EXPECT_EQ(rows[0]["changed"], true);
    }
    // The state file holds what was printed last.
    const auto last = nlohmann::json::parse(printed.back())[0];
    const auto kept = nlohmann::json::parse(ReadFile(state));
    ASSERT_EQ(kept["items"].size(), 2u);
    EXPECT_EQ(kept["items"][0]["number"], 1);
    EXPECT_EQ(kept["items"][0]["result"], last["result"]);
}

TEST_F(WatchCliTest, AFailingCommandIsReportedAndTheWatchGoesOn) {
    CliProcess failing({"watch", script, "--every", "1", "--runs", "3", "--on-change", "false"});
    CliProcess missing(
        {"watch", script, "--every", "1", "--runs", "2", "--on-change", "no-such-program 'x y'"});
    EXPECT_EQ(failing.Wait(30s), 0) << failing.Err();
    EXPECT_EQ(missing.Wait(30s), 0) << missing.Err();
    // Runs 2 and 3 each changed item 1 and ran the command.
    EXPECT_EQ(failing.Lines().size(), 2u) << failing.Out();
    const std::string report = "pagelark-cli: --on-change: false exited with status 1; watching on";
    std::string err = failing.Err();
    const size_t first = err.find(report);
    ASSERT_NE(first, std::string::npos) << err;
    EXPECT_NE(err.find(report, first + 1), std::string::npos) << err;
    EXPECT_NE(missing.Err().find("pagelark-cli: --on-change: cannot run no-such-program: No such "
                                 "file or directory; watching on"),
              std::string::npos)
        << missing.Err();
}

}  // namespace
}  // namespace pagelark
