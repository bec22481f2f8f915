#include <iostream>
#include <optional>
#include <set>

#include "cli/TerminalText.h"
#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/ListRun.h"
#include "cli/StopSignals.h"
#include "engine/watch/ChangeTracker.h"
#include "engine/watch/RunOutcomes.h"
#include "files/SafeFile.h"
#include "files/SnapFile.h"
#include "files/StateFile.h"

namespace pagelark::cli {

int RunCollect(const Args& args) {
    const CommandSyntax syntax{kCollectUsage,
                               {"--snap", "--jobs", "--deadline", "--state"},
                               {"--json", "--changed-only"},
                               {},
                               1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    CollectSettings settings;
    if (const int status = ParseCollectSettings(parsed, kCollectUsage, settings)) return status;
    std::optional<std::string> text = ReadScriptInput(parsed.positionals[0]);
    if (!text) return kExitFailed;

    ListRun run;
    run.Load(std::move(*text));
    bool interrupted = false;
    {
        // Ctrl+C stops the run the way Stop does.
        const StopSignals signals{SIGINT};
        CollectWorker worker(run.Host(), run.List(), settings);
        interrupted = run.Collect(worker, [&] { return signals.Caught() != 0; });
    }
    if (interrupted) std::cerr << "pagelark-cli: stopped; the items below were collected so far\n";

    // Each run is compared with the one before; without a state file every
    // run is a first run and nothing is marked.
    ChangeTracker changes;
    const bool keepState = parsed.values.contains("--state");
    if (keepState) {
        StateRead state = ReadStateFile(parsed.Value("--state"));
        if (!state.problem.empty())
            std::cerr << "pagelark-cli: " << TerminalText(parsed.Value("--state")) << ": " << state.problem
                      << "; taken as no earlier run\n";
        changes.Restore(std::move(state.items));
    }
    const std::vector<int> changed = changes.Record(RunOutcomes(run.Host(), run.List()));
    run.PrintRows(std::set<int>(changed.begin(), changed.end()), parsed.Has("--json"),
                  parsed.Has("--changed-only"));
    if (keepState) {
        // The window's unseen marks stay in the file for the window to show.
        std::string error;
        if (!WriteStateFile(parsed.Value("--state"), changes.Tracked(), &error)) {
            std::cerr << "pagelark-cli: Errors in I/O operation. " << TerminalText(error) << '\n';
            return kExitFailed;
        }
    }
    const bool failed = run.ReportFailures();
    if (parsed.values.contains("--snap")) {
        const std::string snap =
            BuildSnapText(run.Host().MemoryRowsOf(), run.List().results, run.List().links);
        std::string error;
        if (snap.empty()) {
            std::cerr << "pagelark-cli: the list is empty; no snapshot was written\n";
        } else if (!WriteFileSafely(parsed.Value("--snap"), snap, &error)) {
            std::cerr << "pagelark-cli: Errors in I/O operation. " << TerminalText(error) << '\n';
            return kExitFailed;
        }
    }
    if (interrupted) return kExitInterrupted;
    return failed ? kExitFailed : 0;
}

}  // namespace pagelark::cli
