#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// The longest prefix of at most maxBytes bytes that does not end inside a
// UTF-8 character. Bytes that are not valid UTF-8 are cut where the limit falls.
size_t Utf8CutLength(std::string_view text, size_t maxBytes);

inline std::string CutUtf8(std::string_view text, size_t maxBytes) {
    return std::string(text.substr(0, Utf8CutLength(text, maxBytes)));
}

}  // namespace pagelark
