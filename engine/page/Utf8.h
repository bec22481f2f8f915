#pragma once

#include <string>
#include <string_view>

#include "common/Utf8Prefix.h"

namespace pagelark {

// At most maxBytes bytes of text, never ending inside a UTF-8 character.
inline std::string CutUtf8(std::string_view text, size_t maxBytes) {
    return std::string(text.substr(0, Utf8PrefixLength(text, maxBytes)));
}

}  // namespace pagelark
