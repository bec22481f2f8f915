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

}  // namespace pagelark
