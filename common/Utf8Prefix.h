#pragma once

#include <cstddef>
#include <string_view>

// Header-only so that the engine and the report model cut texts by the same
// rule without linking each other.
namespace pagelark {

// The longest prefix of at most maxBytes bytes that does not end inside a
// UTF-8 character; malformed bytes are cut where the limit falls.
inline size_t Utf8PrefixLength(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    const auto continuation = [&](size_t i) {
        return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    // Back up over at most three continuation bytes to the lead byte of the
    // character that straddles the limit.
    size_t lead = maxBytes;
    while (lead > 0 && maxBytes - lead < 3 && continuation(lead))
        --lead;
    if (lead == maxBytes) return maxBytes;  // the limit falls between characters
    const unsigned char c = static_cast<unsigned char>(text[lead]);
    const size_t need = c < 0x80             ? 1
                        : (c & 0xE0) == 0xC0 ? 2
                        : (c & 0xF0) == 0xE0 ? 3
                        : (c & 0xF8) == 0xF0 ? 4
                                             : 0;
    return need > 1 && lead + need > maxBytes ? lead : maxBytes;
}

}  // namespace pagelark
