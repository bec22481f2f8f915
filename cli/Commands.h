#pragma once

#include "cli/CliArgs.h"

namespace pagelark::cli {

int RunFlatten(const Args& args);
int RunExtract(const Args& args);
int RunList(const Args& args);
int RunResave(const Args& args);
int RunCollect(const Args& args);
int RunSuggest(const Args& args);
int RunWatch(const Args& args);

inline constexpr char kFlattenUsage[] = "pagelark-cli flatten [--base URL] [--links] FILE";
inline constexpr char kExtractUsage[] =
    "pagelark-cli extract --filter FILTER [--base URL] [--json] FILE";
inline constexpr char kListUsage[] = "pagelark-cli list SCRIPT.xml";
inline constexpr char kResaveUsage[] = "pagelark-cli resave IN.xml OUT.xml";
inline constexpr char kCollectUsage[] =
    "pagelark-cli collect SCRIPT.xml [--snap OUT.txt] [--json] [--jobs N] [--deadline S]"
    " [--state FILE] [--changed-only]";
inline constexpr char kSuggestUsage[] =
    "pagelark-cli suggest --select TEXT [--occurrence K] [--links] [--base URL] [--json] FILE";
inline constexpr char kWatchUsage[] =
    "pagelark-cli watch SCRIPT.xml --every SECONDS [--runs N] [--state FILE]"
    " [--on-change COMMAND] [--jobs N] [--deadline S] [--json]";

}  // namespace pagelark::cli
