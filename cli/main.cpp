#include <iostream>
#include <string>

#include "cli/CliInput.h"
#include "cli/Commands.h"

// pagelark-cli: the collection engine and the list files without a window.
int main(int argc, char** argv) {
    using namespace pagelark::cli;
    const std::string overview = std::string(kFlattenUsage) + "\n       " + kExtractUsage +
                                 "\n       " + kListUsage + "\n       " + kResaveUsage +
                                 "\n       " + kCollectUsage;
    if (argc < 2) return UsageError(overview, "a subcommand is missing");
    const std::string command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "flatten") return RunFlatten(args);
    if (command == "extract") return RunExtract(args);
    if (command == "list") return RunList(args);
    if (command == "resave") return RunResave(args);
    if (command == "collect") return RunCollect(args);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << "usage: " << overview << "\n";
        return 0;
    }
    return UsageError(overview, "unknown subcommand " + command);
}
