#include <iostream>
#include <string>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/HelpText.h"

namespace {

bool IsHelpFlag(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

}  // namespace

// pagelark-cli: the collection engine and the list files without a window.
int main(int argc, char** argv) {
    using namespace pagelark::cli;
    const std::string overview = UsageOverview();
    if (argc < 2) return UsageError(overview, "a command is missing");
    const std::string command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (IsHelpFlag(command) || command == "help") {
        if (args.empty()) {
            std::cout << OverviewHelp();
            return 0;
        }
        const std::string help = CommandHelp(args[0]);
        if (help.empty()) return UsageError(overview, "unknown command " + args[0]);
        std::cout << help;
        return 0;
    }
    if (command == "--version") {
        std::cout << VersionText();
        return 0;
    }
    const std::string help = CommandHelp(command);
    if (help.empty()) return UsageError(overview, "unknown command " + command);
    // "COMMAND --help" anywhere among the arguments asks for help, not a run.
    for (const std::string& arg : args) {
        if (IsHelpFlag(arg)) {
            std::cout << help;
            return 0;
        }
    }
    if (command == "flatten") return RunFlatten(args);
    if (command == "extract") return RunExtract(args);
    if (command == "list") return RunList(args);
    if (command == "resave") return RunResave(args);
    if (command == "suggest") return RunSuggest(args);
    if (command == "watch") return RunWatch(args);
    return RunCollect(args);
}
