#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// Splits a command line into the program and its arguments as a POSIX shell
// splits words, without running a shell: blanks (space, tab, line feed)
// separate words; 'single quotes' keep everything up to the next one;
// "double quotes" keep everything but let a backslash escape ", \, $ and `;
// elsewhere a backslash keeps the next character. Nothing is expanded, so
// $HOME, * and ~ are passed as written. Nothing for an unclosed quote, a
// trailing backslash or a line without a word.
std::optional<std::vector<std::string>> SplitCommandLine(std::string_view line);

}  // namespace pagelark
