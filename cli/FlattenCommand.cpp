#include <iostream>

#include "cli/CliInput.h"
#include "cli/Commands.h"
#include "cli/FlattenFile.h"
#include "engine/LinkTable.h"

namespace pagelark::cli {

int RunFlatten(const Args& args) {
    std::string base;
    std::string path;
    bool listLinks = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--base") {
            if (++i == args.size()) return UsageError(kFlattenUsage, "--base needs a URL");
            base = args[i];
        } else if (arg == "--links") {
            listLinks = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(kFlattenUsage, "unknown option " + arg);
        } else if (path.empty()) {
            path = arg;
        } else {
            return UsageError(kFlattenUsage, "only one FILE may be given");
        }
    }
    if (path.empty()) return UsageError(kFlattenUsage, "FILE is missing");

    const std::optional<std::string> page = ReadInput(path);
    if (!page) return kExitUnreadable;
    LinkTable links;
    std::cout << FlattenWhole(*page, base, links) << "\n";
    if (listLinks) {
        for (const auto& [marker, url] : links.Snapshot())
            std::cout << marker << "\t" << url << "\n";
    }
    return 0;
}

}  // namespace pagelark::cli
