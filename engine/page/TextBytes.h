#pragma once

#include <string>
#include <string_view>

// Byte-level text helpers shared by the engine. Texts are UTF-8 byte strings;
// positions and lengths are byte counts.
namespace pagelark {

// Space, TAB, LF, VT, FF and CR; bytes of 0x80 and above never are.
inline bool IsWhite(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The narrower "blank" of tag and word scanning: space, TAB, CR and LF.
inline bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text);
std::string_view TrimEnd(std::string_view text);
std::string_view TrimStart(std::string_view text);

// ASCII letters compared without regard to case; other bytes must be equal.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Reads a decimal integer the way C's atoi does (leading white space, an
// optional sign, digits up to the first other byte; none gives 0), saturating
// instead of overflowing.
int ReadInt(std::string_view text);

// ASCII upper case; other bytes are kept.
std::string ToUpperAscii(std::string_view text);

}  // namespace pagelark
