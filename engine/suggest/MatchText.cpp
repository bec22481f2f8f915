#include "engine/suggest/MatchText.h"

#include <algorithm>
#include <array>

namespace pagelark {
namespace {

struct NamedEntity {
    std::string_view name;
    char32_t code;
};

// The named entities pages use for words and punctuation, sorted by name. A
// name not listed stays as written (a browser shows an unknown one as text).
constexpr std::array<NamedEntity, 106> kEntities{{
    {"AElig", 0xC6},    {"Aacute", 0xC1},   {"Agrave", 0xC0},   {"Aring", 0xC5},
    {"Auml", 0xC4},     {"Ccedil", 0xC7},   {"Eacute", 0xC9},   {"Egrave", 0xC8},
    {"Ntilde", 0xD1},   {"Oacute", 0xD3},   {"Oslash", 0xD8},   {"Ouml", 0xD6},
    {"Uacute", 0xDA},   {"Uuml", 0xDC},     {"aacute", 0xE1},   {"acirc", 0xE2},
    {"acute", 0xB4},    {"aelig", 0xE6},    {"agrave", 0xE0},   {"amp", '&'},
    {"apos", '\''},     {"aring", 0xE5},    {"atilde", 0xE3},   {"auml", 0xE4},
    {"bdquo", 0x201E},  {"brvbar", 0xA6},   {"bull", 0x2022},   {"ccedil", 0xE7},
    {"cedil", 0xB8},    {"cent", 0xA2},     {"copy", 0xA9},     {"curren", 0xA4},
    {"dagger", 0x2020}, {"darr", 0x2193},   {"deg", 0xB0},      {"divide", 0xF7},
    {"eacute", 0xE9},   {"ecirc", 0xEA},    {"egrave", 0xE8},   {"emsp", 0x2003},
    {"ensp", 0x2002},   {"euml", 0xEB},     {"euro", 0x20AC},   {"frac12", 0xBD},
    {"frac14", 0xBC},   {"frac34", 0xBE},   {"gt", '>'},        {"harr", 0x2194},
    {"hearts", 0x2665}, {"hellip", 0x2026}, {"iacute", 0xED},   {"icirc", 0xEE},
    {"iexcl", 0xA1},    {"igrave", 0xEC},   {"iquest", 0xBF},   {"iuml", 0xEF},
    {"laquo", 0xAB},    {"larr", 0x2190},   {"ldquo", 0x201C},  {"lrm", 0x200E},
    {"lsaquo", 0x2039}, {"lsquo", 0x2018},  {"lt", '<'},        {"macr", 0xAF},
    {"mdash", 0x2014},  {"micro", 0xB5},    {"middot", 0xB7},   {"nbsp", 0xA0},
    {"ndash", 0x2013},  {"not", 0xAC},      {"ntilde", 0xF1},   {"oacute", 0xF3},
    {"ocirc", 0xF4},    {"ograve", 0xF2},   {"ordf", 0xAA},     {"ordm", 0xBA},
    {"oslash", 0xF8},   {"otilde", 0xF5},   {"ouml", 0xF6},     {"para", 0xB6},
    {"permil", 0x2030}, {"plusmn", 0xB1},   {"pound", 0xA3},    {"prime", 0x2032},
    {"quot", '"'},      {"raquo", 0xBB},    {"rarr", 0x2192},   {"rdquo", 0x201D},
    {"reg", 0xAE},      {"rlm", 0x200F},    {"rsaquo", 0x203A}, {"rsquo", 0x2019},
    {"sbquo", 0x201A},  {"sect", 0xA7},     {"shy", 0xAD},      {"szlig", 0xDF},
    {"thinsp", 0x2009}, {"times", 0xD7},    {"trade", 0x2122},  {"uacute", 0xFA},
    {"uarr", 0x2191},   {"ugrave", 0xF9},   {"uuml", 0xFC},     {"yen", 0xA5},
    {"zwj", 0x200D},    {"zwnj", 0x200C},
}};

// What a browser makes of "&#128;" to "&#159;": the windows-1252 characters.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Characters that are blanks, invisible or may stand for a blank.
bool LeftOut(char32_t c) {
    if (c < 0x80) return c == ' ' || (c >= '\t' && c <= '\r') || c == '<' || c == '>';
    return c == 0xA0 || c == 0xAD || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

size_t EncodeUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

struct Decoded {
    char32_t code;  // 0xFFFFFFFF: a byte that starts no valid character
    size_t length;
};

// The UTF-8 character at i; a byte that starts no valid sequence stands alone.
Decoded DecodeUtf8(std::string_view text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) return {c, 1};
    size_t length = 0;
    char32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        code = c & 0x07;
    } else {
        return {0xFFFFFFFF, 1};
    }
    if (i + length > text.size()) return {0xFFFFFFFF, 1};
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return {0xFFFFFFFF, 1};
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0xFFFFFFFF, 1};
    return {code, length};
}

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The character a browser shows for the entity at i ("&"), if it is one.
Decoded DecodeEntity(std::string_view text, size_t i) {
    const Decoded none{0xFFFFFFFF, 0};
    size_t k = i + 1;
    if (k < text.size() && text[k] == '#') {
        const bool hex = k + 1 < text.size() && (text[k + 1] == 'x' || text[k + 1] == 'X');
        k += hex ? 2 : 1;
        const size_t digits = k;
        uint32_t value = 0;
        for (; k < text.size() && k - digits < 8; ++k) {
            const int d =
                hex ? HexValue(text[k]) : (text[k] >= '0' && text[k] <= '9' ? text[k] - '0' : -1);
            if (d < 0) break;
            value = value * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        }
        if (k == digits || k >= text.size() || text[k] != ';') return none;
        char32_t code = value;
        if (value >= 0x80 && value <= 0x9F) {
            code = kWindows1252High[value - 0x80];
        } else if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            code = 0xFFFD;
        }
        return {code, k + 1 - i};
    }
    const size_t name = k;
    while (k < text.size() && k - name < 8 && IsAsciiAlnum(text[k]))
        ++k;
    if (k == name || k >= text.size() || text[k] != ';') return none;
    const std::string_view key = text.substr(name, k - name);
    const auto found =
        std::lower_bound(kEntities.begin(), kEntities.end(), key,
                         [](const NamedEntity& e, std::string_view n) { return e.name < n; });
    if (found == kEntities.end() || found->name != key) return none;
    return {found->code, k + 1 - i};
}

template <typename Emit>
void WalkMatchForm(std::string_view text, bool decodeEntities, Emit&& emit) {
    size_t i = 0;
    while (i < text.size()) {
        Decoded d{0xFFFFFFFF, 0};
        if (decodeEntities && text[i] == '&') d = DecodeEntity(text, i);
        if (d.length == 0) d = DecodeUtf8(text, i);
        if (d.code == 0xFFFFFFFF) {
            emit(text.substr(i, 1), i, i + 1);
        } else if (!LeftOut(d.code)) {
            char bytes[4];
            emit(std::string_view(bytes, EncodeUtf8(d.code, bytes)), i, i + d.length);
        }
        i += d.length;
    }
}

}  // namespace

MatchForm PageMatchForm(std::string_view text) {
    MatchForm form;
    form.bytes.reserve(text.size());
    form.from.reserve(text.size());
    form.to.reserve(text.size());
    WalkMatchForm(text, true, [&](std::string_view bytes, size_t from, size_t to) {
        form.bytes.append(bytes);
        for (size_t k = 0; k < bytes.size(); ++k) {
            form.from.push_back(static_cast<uint32_t>(from));
            form.to.push_back(static_cast<uint32_t>(to));
        }
    });
    return form;
}

std::string ShownMatchForm(std::string_view text) {
    std::string form;
    form.reserve(text.size());
    WalkMatchForm(text, false, [&](std::string_view bytes, size_t, size_t) { form.append(bytes); });
    return form;
}

void FoldAsciiCase(std::string& text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

}  // namespace pagelark
