#include "engine/suggest/AnchorKey.h"

#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

constexpr size_t kLongestWord = 30;

// The code point of the UTF-8 sequence at i (0 for a byte that starts none),
// and its length.
char32_t CodeAt(std::string_view text, size_t i, size_t& length) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (c < 0xC2 || c > 0xF4 || i + length > text.size()) {
        length = 1;
        return 0;
    }
    char32_t code = c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
        code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return code;
}

// Letters of any script; punctuation, symbols, arrows, box drawing and the
// like are not.
bool IsLetter(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
    if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, symbols, arrows, shapes
    if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation
    if (c >= 0xFE30 && c <= 0xFE4F) return false;  // CJK compatibility forms
    if (c >= 0xFF00 && c <= 0xFF20) return false;  // fullwidth punctuation and digits
    return c != 0xFFFD;
}

bool WordReads(std::string_view word) {
    if (word.size() > kLongestWord) return false;
    bool letter = false;
    for (size_t i = 0; i < word.size();) {
        const char c = word[i];
        if (c == '{' || c == '}' || c == '=' || c == '\\' || c == '|') return false;
        if (c == '&' && word.find(';', i) != std::string_view::npos) return false;
        size_t length = 1;
        const char32_t code = static_cast<unsigned char>(c) < 0x80 ? static_cast<unsigned char>(c)
                                                                   : CodeAt(word, i, length);
        letter = letter || IsLetter(code);
        i += length;
    }
    return letter;
}

}  // namespace

bool HasDigit(std::string_view text) {
    for (const char c : text) {
        if (c >= '0' && c <= '9') return true;
    }
    return false;
}

bool ReadsAsWords(std::string_view text) {
    bool any = false;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t begin = i;
        while (i < text.size() && !IsBlank(static_cast<unsigned char>(text[i])))
            ++i;
        if (begin == i) break;
        if (!WordReads(text.substr(begin, i - begin))) return false;
        any = true;
    }
    return any;
}

void AnchorKey::Add(std::string_view text, bool shown) {
    digits = digits || HasDigit(text);
    unreadable = unreadable || !shown || !ReadsAsWords(text);
    bytes += static_cast<int>(text.size());
    bool inWord = false;
    for (const char c : text) {
        const bool blank = IsBlank(static_cast<unsigned char>(c));
        if (!blank && !inWord) ++words;
        inWord = !blank;
    }
}

void AnchorKey::Include(const AnchorKey& texts) {
    digits = digits || texts.digits;
    unreadable = unreadable || texts.unreadable;
    words += texts.words;
    bytes += texts.bytes;
}

}  // namespace pagelark
