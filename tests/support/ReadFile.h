#pragma once

#include <cstdio>
#include <string>

namespace pagelark {

// The bytes of a file, or "(missing)" when it cannot be opened.
inline std::string ReadFile(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return "(missing)";
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

}  // namespace pagelark
