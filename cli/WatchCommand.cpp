#include <iostream>
#include <optional>
#include <set>

#include "cli/TerminalText.h"
#include "cli/ChangeCommand.h"
#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/ListRun.h"
#include "cli/StopSignals.h"
#include "engine/watch/ChangeTracker.h"
#include "engine/watch/CommandLine.h"
#include "engine/watch/RunOutcomes.h"
#include "files/RowsJson.h"
#include "files/StateFile.h"

namespace pagelark::cli {
namespace {

constexpr int kMaxEverySeconds = 7 * 24 * 3600;
constexpr int kMaxRuns = 999999999;

}  // namespace

int RunWatch(const Args& args) {
    const CommandSyntax syntax{
        kWatchUsage,
        {"--every", "--runs", "--state", "--on-change", "--jobs", "--deadline"},
        {"--json"},
        {"--every"},
        1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    CollectSettings settings;
    if (const int status = ParseCollectSettings(parsed, kWatchUsage, settings)) return status;
    const std::optional<int> every = WholeNumber(parsed.Value("--every"), 1, kMaxEverySeconds);
    if (!every) return UsageError(kWatchUsage, "--every needs seconds from 1 to 604800");
    std::optional<int> runs;
    if (parsed.values.contains("--runs")) {
        runs = WholeNumber(parsed.Value("--runs"), 1, kMaxRuns);
        if (!runs) return UsageError(kWatchUsage, "--runs needs a number from 1 to 999999999");
    }
    std::optional<std::vector<std::string>> command;
    if (parsed.values.contains("--on-change")) {
        command = SplitCommandLine(parsed.Value("--on-change"));
        if (!command)
            return UsageError(kWatchUsage, "--on-change needs a command (with its quotes closed)");
    }
    const std::string& script = parsed.positionals[0];
    std::optional<std::string> text = ReadScriptInput(script);
    if (!text) return kExitFailed;

    ListRun run;
    if (run.Load(std::move(*text)) == 0) {
        std::cerr << "pagelark-cli: " << TerminalText(script) << " holds no items; there is nothing to watch\n";
        return kExitFailed;
    }
    // Without a state file the runs are still compared with each other.
    ChangeTracker changes;
    const bool keepState = parsed.values.contains("--state");
    const std::string statePath = parsed.Value("--state");
    if (keepState) {
        StateRead state = ReadStateFile(statePath);
        if (!state.problem.empty())
            std::cerr << "pagelark-cli: " << TerminalText(statePath) << ": " << state.problem
                      << "; taken as no earlier run\n";
        changes.Restore(std::move(state.items));
    }

    // Ctrl+C and SIGTERM stop the run in progress as Stop does; what it
    // collected is compared, printed and kept like any run's.
    const StopSignals signals{SIGINT, SIGTERM};
    const auto stop = [&] { return signals.Caught() != 0; };
    CollectWorker worker(run.Host(), run.List(), settings);
    bool stateKept = true;
    for (int done = 1;; ++done) {
        run.Collect(worker, stop);
        const std::vector<int> changedList = changes.Record(RunOutcomes(run.Host(), run.List()));
        const std::set<int> changed(changedList.begin(), changedList.end());
        if (!changed.empty()) {
            run.PrintRows(changed, parsed.Has("--json"), true);
            std::cout.flush();
        }
        run.ReportFailures();
        if (keepState) {
            std::string error;
            stateKept = WriteStateFile(statePath, changes.Tracked(), &error);
            if (!stateKept) std::cerr << "pagelark-cli: Errors in I/O operation. " << TerminalText(error) << '\n';
        }
        if (command && !changed.empty()) {
            const std::string problem = RunChangeCommand(
                *command, RowsJson(run.Host().Rows(), run.List().results, changed, true) + "\n",
                stop);
            if (!problem.empty())
                std::cerr << "pagelark-cli: --on-change: " << TerminalText(problem) << "; watching on\n";
        }
        if (signals.Caught() != 0) break;
        if (runs && done == *runs) return stateKept ? 0 : kExitFailed;
        if (signals.SleepUnlessCaught(*every * 1000L)) break;
    }
    return 128 + signals.Caught();
}

}  // namespace pagelark::cli
