#pragma once

#include <string>
#include <string_view>

namespace pagelark::cli {

// What `pagelark-cli --help` prints: the commands, how to get their options,
// and the exit status.
std::string OverviewHelp();

// Every command's usage line, one under another: the text a usage error shows.
std::string UsageOverview();

// What `pagelark-cli COMMAND --help` prints, or an empty text for a command
// that does not exist.
std::string CommandHelp(std::string_view command);

// What `pagelark-cli --version` prints.
std::string VersionText();

}  // namespace pagelark::cli
