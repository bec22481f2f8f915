#include <chrono>
#include <csignal>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <thread>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/PrintJson.h"
#include "engine/collect/CollectWorker.h"
#include "engine/collect/ItemList.h"
#include "engine/collect/ItemNumber.h"
#include "engine/collect/ItemState.h"
#include "engine/collect/MemoryCollectHost.h"
#include "engine/watch/ChangeTracker.h"
#include "engine/watch/RunOutcomes.h"
#include "files/ItemStore.h"
#include "files/SafeFile.h"
#include "files/ScriptFile.h"
#include "files/SnapFile.h"
#include "files/StateFile.h"
#include "files/XmlDocument.h"

namespace pagelark::cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

// Ctrl+C stops the run the way Stop does; the handler is removed again
// afterwards so that a second Ctrl+C while printing ends the program.
class InterruptWatch {
  public:
    InterruptWatch() {
        g_interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptWatch() { sigaction(SIGINT, &m_previous, nullptr); }
    bool Interrupted() const { return g_interrupted != 0; }

  private:
    struct sigaction m_previous {};
};

// `changed` marks the rows whose Result differs from the state file's last
// run; changedOnly leaves the others out.
void PrintRows(MemoryRows& rows, const ResultMaps& results, const std::set<int>& changes, bool json,
               bool changedOnly) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const bool changed = changes.contains(number);
        if (changedOnly && !changed) continue;
        const std::string state(ItemStateName(rows.Rows()[static_cast<size_t>(row)].image));
        const std::string name = rows.GetItemText(row, 1);
        const std::string result = rows.GetItemText(row, 2);
        const std::string time = rows.GetItemText(row, 3);
        if (!json) {
            std::cout << number << '\t' << state << '\t' << name << '\t' << result << '\t' << time
                      << '\t' << (changed ? "yes" : "no") << '\n';
            continue;
        }
        items.push_back({{"number", number},
                         {"state", state},
                         {"name", name},
                         {"result", result},
                         {"last_update", time},
                         {"entries", results.Entries(ItemKey(number)).value_or("")},
                         {"changed", changed}});
    }
    if (json) PrintJson(items);
}

// Names every item whose page could not be fetched on stderr; true when there
// was one.
bool ReportFailures(MemoryRows& rows, XmlDocument& live) {
    bool failed = false;
    for (int row = 0; row < rows.GetItemCount(); ++row) {
        if (rows.Rows()[static_cast<size_t>(row)].image != static_cast<int>(ItemState::Failed))
            continue;
        const int number = ItemNumberFromData(rows.GetItemData(row));
        const ItemFields fields = ReadStoreItem(live, number);
        std::cerr << "pagelark-cli: item " << number << " (" << fields.name << "): cannot fetch "
                  << fields.url << "\n";
        failed = true;
    }
    return failed;
}

// A whole number from `low` to `high` written as plain digits, else nothing.
std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

int RunCollect(const Args& args) {
    const CommandSyntax syntax{kCollectUsage,
                               {"--snap", "--jobs", "--deadline", "--state"},
                               {"--json", "--changed-only"},
                               {},
                               1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    CollectSettings settings;
    if (parsed.values.contains("--jobs")) {
        const std::optional<int> jobs = WholeNumber(parsed.Value("--jobs"), 1, 1000);
        if (!jobs) return UsageError(kCollectUsage, "--jobs needs a number from 1 to 1000");
        settings.parallelDownloads = *jobs;
    }
    if (parsed.values.contains("--deadline")) {
        const std::optional<int> seconds = WholeNumber(parsed.Value("--deadline"), 0, 86400);
        if (!seconds) return UsageError(kCollectUsage, "--deadline needs seconds from 0 to 86400");
        settings.fetch.pageDeadlineSeconds = *seconds;
    }
    std::optional<std::string> text = ReadScriptInput(parsed.positionals[0]);
    if (!text) return kExitFailed;

    XmlDocument live;
    ItemList list;
    MemoryCollectHost host([&live](int number) {
        ItemFields fields = ReadStoreItem(live, number);
        return DefinedItem(number, std::move(fields.name), std::move(fields.filter),
                           std::move(fields.url));
    });
    LoadScriptText(std::move(*text), live, list, host.MemoryRowsOf());

    bool interrupted = false;
    {
        const InterruptWatch watch;
        CollectWorker worker(host, list, settings);
        host.RunOnListThread([&] { worker.Start(); });
        while (!worker.Idle()) {
            if (watch.Interrupted() && !interrupted) {
                interrupted = true;
                host.RunOnListThread([&] { worker.Stop(); });
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        worker.Wait();
    }
    if (interrupted) std::cerr << "pagelark-cli: stopped; the items below were collected so far\n";

    // Each run is compared with the one before; without a state file every
    // run is a first run and nothing is marked.
    ChangeTracker changes;
    const bool keepState = parsed.values.contains("--state");
    if (keepState) {
        StateRead state = ReadStateFile(parsed.Value("--state"));
        if (!state.problem.empty())
            std::cerr << "pagelark-cli: " << parsed.Value("--state") << ": " << state.problem
                      << "; taken as no earlier run\n";
        changes.Restore(std::move(state.items));
    }
    const std::vector<int> changed = changes.Record(RunOutcomes(host, list));
    PrintRows(host.MemoryRowsOf(), list.results, std::set<int>(changed.begin(), changed.end()),
              parsed.Has("--json"), parsed.Has("--changed-only"));
    if (keepState) {
        // The window's unseen marks stay in the file for the window to show.
        std::string error;
        if (!WriteStateFile(parsed.Value("--state"), changes.Tracked(), &error)) {
            std::cerr << "pagelark-cli: Errors in I/O operation. " << error << '\n';
            return kExitFailed;
        }
    }
    const bool failed = ReportFailures(host.MemoryRowsOf(), live);
    if (parsed.values.contains("--snap")) {
        const std::string snap = BuildSnapText(host.MemoryRowsOf(), list.results, list.links);
        std::string error;
        if (snap.empty()) {
            std::cerr << "pagelark-cli: the list is empty; no snapshot was written\n";
        } else if (!WriteFileSafely(parsed.Value("--snap"), snap, &error)) {
            std::cerr << "pagelark-cli: Errors in I/O operation. " << error << '\n';
            return kExitFailed;
        }
    }
    if (interrupted) return kExitInterrupted;
    return failed ? kExitFailed : 0;
}

}  // namespace pagelark::cli
