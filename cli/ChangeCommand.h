#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark::cli {

// Runs the command given with --on-change: `words` is the program (looked up
// in PATH) and its arguments, no shell. `input` goes to its standard input,
// its standard output to our standard error (our standard output carries the
// rows), and the wait for it ends early when `stop` answers true. Returns ""
// when it ran and exited with status 0, else what went wrong ("cannot run
// X: ...", "X exited with status N", "X was ended by signal N").
std::string RunChangeCommand(const std::vector<std::string>& words, std::string_view input,
                             const std::function<bool()>& stop);

}  // namespace pagelark::cli
