#include "cli/CliInput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/TerminalText.h"
#include "files/ScriptFile.h"

namespace pagelark::cli {
namespace {

bool ReadAll(std::FILE* file, std::string& bytes) {
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    return std::ferror(file) == 0;
}

}  // namespace

std::optional<std::string> ReadInput(const std::string& path) {
    std::string bytes;
    errno = 0;
    if (path == "-") {
        if (ReadAll(stdin, bytes)) return bytes;
    } else {
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                                   &std::fclose);
        if (file && ReadAll(file.get(), bytes)) return bytes;
    }
    std::cerr << "pagelark-cli: cannot read "
              << (path == "-" ? "standard input" : TerminalText(path)) << ": "
              << std::strerror(errno != 0 ? errno : EIO) << "\n";
    return std::nullopt;
}

std::optional<std::string> ReadScriptInput(const std::string& path) {
    std::string text;
    std::string error;
    if (ReadScriptFile(path, text, &error)) return text;
    std::cerr << "pagelark-cli: cannot read " << (path == "-" ? "standard input" : TerminalText(path))
              << ": " << TerminalText(error) << "\n";
    return std::nullopt;
}

int UsageError(std::string_view usage, std::string_view problem) {
    // The problem may quote an argument as it was typed.
    if (!problem.empty()) std::cerr << "pagelark-cli: " << TerminalText(problem) << "\n";
    std::cerr << "usage: " << usage << "\n";
    return kExitUsage;
}

}  // namespace pagelark::cli
