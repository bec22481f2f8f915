#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "tests/support/ReadFile.h"

// Running the built pagelark-cli (its path comes in as PAGELARK_CLI).
namespace pagelark {

struct CliRun {
    int status = -1;
    std::string out;
};

// Runs pagelark-cli with a shell command line tail; stderr goes to stdout
// only when asked.
inline CliRun Cli(const std::string& args, bool withStderr = false) {
    std::string command = std::string("'") + PAGELARK_CLI + "' " + args;
    command += withStderr ? " 2>&1" : " 2>/dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> chunk{};
    size_t got = 0;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.out.append(chunk.data(), got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Where text meant for a terminal is not safe there, or "" when it is: a
// control other than TAB and LF (C0, DEL, or C1 as UTF-8) or a byte that is
// not UTF-8, which some terminals read as a C1 control.
inline std::string RawControlIn(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned char c = at(i);
        const std::string where = " at byte " + std::to_string(i);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F)
                return "control " + std::to_string(c) + where;
            ++i;
            continue;
        }
        const size_t size = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (size == 0 || c > 0xF4 || i + size > text.size()) return "not UTF-8" + where;
        for (size_t k = 1; k < size; ++k)
            if ((at(i + k) & 0xC0) != 0x80) return "not UTF-8" + where;
        if (c == 0xC2 && at(i + 1) < 0xA0) return "C1 control" + where;
        i += size;
    }
    return {};
}

}  // namespace pagelark
