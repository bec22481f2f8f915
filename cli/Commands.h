#pragma once

#include <string>
#include <vector>

namespace pagelark::cli {

using Args = std::vector<std::string>;  // the arguments after the subcommand name

int RunFlatten(const Args& args);
int RunExtract(const Args& args);

inline constexpr char kFlattenUsage[] = "pagelark-cli flatten [--base URL] [--links] FILE";
inline constexpr char kExtractUsage[] =
    "pagelark-cli extract --filter FILTER [--base URL] [--json] FILE";

}  // namespace pagelark::cli
