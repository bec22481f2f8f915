#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagelark::cli {

// The bytes of FILE, or of standard input when FILE is "-". On failure prints
// "pagelark-cli: cannot read FILE: reason" to stderr and returns none.
std::optional<std::string> ReadInput(const std::string& path);

// The same for a script file, which is refused over the size Load reads.
std::optional<std::string> ReadScriptInput(const std::string& path);

// Prints "usage: ..." to stderr and returns the usage exit code (2).
int UsageError(std::string_view usage, std::string_view problem = {});

inline constexpr int kExitUsage = 2;
inline constexpr int kExitFailed = 1;  // a file could not be read or written, a page not fetched
inline constexpr int kExitInterrupted = 130;  // stopped by Ctrl+C, as shells report SIGINT

}  // namespace pagelark::cli
