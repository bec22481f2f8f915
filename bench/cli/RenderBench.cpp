// Rendering 20 pages in the browser engine, as pagelark-cli does it: `watch`
// over 20 items marked "Render the page first", each a page whose script
// writes its price 300 ms after the load. Measured from /proc while it runs:
// the time until the first run's helper process is gone (the run is over and
// the pages went), the peak memory of pagelark-cli and every process under
// it (the helper and the browser engine's processes; proportional set sizes,
// so shared pages count once), and that memory once rendering is over,
// before the second run. About ten seconds.
//
//   build/bench/cli/render_bench
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "bench/cli/BenchPages.h"

namespace {

constexpr int kPages = 20;

// Parent of every process, from /proc.
std::map<pid_t, pid_t> Parents() {
    std::map<pid_t, pid_t> parents;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2)
            parents[std::stoi(name)] = parent;
    }
    return parents;
}

std::set<pid_t> Tree(pid_t root) {
    const std::map<pid_t, pid_t> parents = Parents();
    std::set<pid_t> tree{root};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [pid, parent] : parents)
            if (tree.contains(parent) && tree.insert(pid).second) grew = true;
    }
    return tree;
}

double PssMb(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line))
        if (line.starts_with("Pss:")) return std::stod(line.substr(4)) / 1024.0;
    return 0;
}

void RenderPages(benchmark::State& state) {
    pagelark::LocalServer server;
    server.Routes().Get(
        R"(/r/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            const std::string n = request.matches[1].str();
            response.set_content("<html><body><h1>Item " + n +
                                     "</h1><p>Loading...</p><script>setTimeout(function () {"
                                     " var p = document.createElement('p');"
                                     " p.textContent = 'Pri' + 'ce: " +
                                     n +
                                     ".50 USD'; document.body.appendChild(p); }, 300);"
                                     "</script></body></html>",
                                 "text/html");
        });
    server.Start();
    std::string script = "<xml version=1.0>\r\n";
    for (int i = 1; i <= kPages; ++i)
        script += "<item><name>Item " + std::to_string(i) +
                  "</name><format>Price:#DATA,1,2#</format><url>" +
                  server.Url("/r/" + std::to_string(i)) + "</url><render>yes</render></item>\r\n";
    script += "</xml>";
    const std::string path = pagelark::bench::WriteTempFile("render.xml", script);

    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            freopen("/dev/null", "w", stdout);
            execl(PAGELARK_CLI, PAGELARK_CLI, "watch", path.c_str(), "--every", "5", "--runs", "2",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        double peak = 0;
        bool helperSeen = false;
        auto over = started;
        while (true) {
            const std::set<pid_t> tree = Tree(child);
            double total = 0;
            for (const pid_t pid : tree)
                total += PssMb(pid);
            peak = std::max(peak, total);
            if (tree.size() > 1) helperSeen = true;
            if (helperSeen && tree.size() == 1) {
                over = std::chrono::steady_clock::now();
                break;
            }
            if (std::chrono::steady_clock::now() - started > std::chrono::seconds(120)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        state.counters["after_mb"] = PssMb(child);
        state.counters["peak_mb"] = peak;
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        const std::chrono::duration<double> took = over - started;
        state.SetIterationTime(took.count());
        state.counters["pages"] = kPages;
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(RenderPages)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
