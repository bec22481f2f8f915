#include "cli/TerminalText.h"

namespace pagelark::cli {
namespace {

constexpr std::string_view kStandIn = "\xef\xbf\xbd";  // U+FFFD

// The length of the well-formed UTF-8 character at text[at] (lead byte at or
// above 0x80), or 0 when the bytes there are not one.
size_t Utf8Length(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    unsigned char low = 0x80;   // the second byte's range, narrowed so that
    unsigned char high = 0xBF;  // overlong forms and surrogates are refused
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F) {
                out += kStandIn;
            } else {
                out += static_cast<char>(c);
            }
            ++at;
            continue;
        }
        const size_t length = Utf8Length(text, at);
        // U+0080 to U+009F are 0xC2 0x80 to 0xC2 0x9F.
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
        if (length == 0 || c1) {
            out += kStandIn;
            at += length == 0 ? 1 : length;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace pagelark::cli
