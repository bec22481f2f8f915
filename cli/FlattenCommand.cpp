#include <iostream>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/FlattenFile.h"
#include "cli/TerminalText.h"
#include "engine/collect/LinkTable.h"

namespace pagelark::cli {

int RunFlatten(const Args& args) {
    const CommandSyntax syntax{kFlattenUsage, {"--base"}, {"--links"}, {}, 1};
    ParsedArgs parsed;
    if (const int status = ParseArgs(args, syntax, parsed)) return status;
    const std::string base = parsed.Value("--base");
    const std::string& path = parsed.positionals[0];
    const bool listLinks = parsed.Has("--links");

    const std::optional<std::string> page = ReadInput(path);
    if (!page) return kExitFailed;
    LinkTable links;
    std::cout << TerminalText(FlattenWhole(*page, base, links)) << "\n";
    if (listLinks) {
        for (const auto& [marker, url] : links.Snapshot())
            std::cout << TerminalText(marker) << "\t" << TerminalText(url) << "\n";
    }
    return 0;
}

}  // namespace pagelark::cli
