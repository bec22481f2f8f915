#include "engine/page/TextBytes.h"

#include <climits>

namespace pagelark {

std::string_view TrimStart(std::string_view text) {
    size_t a = 0;
    while (a < text.size() && IsWhite(static_cast<unsigned char>(text[a])))
        ++a;
    return text.substr(a);
}

std::string_view TrimEnd(std::string_view text) {
    size_t b = text.size();
    while (b > 0 && IsWhite(static_cast<unsigned char>(text[b - 1])))
        --b;
    return text.substr(0, b);
}

std::string_view Trim(std::string_view text) {
    return TrimStart(TrimEnd(text));
}

static unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(static_cast<unsigned char>(a[i])) !=
            LowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int ReadInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsWhite(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string ToUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    }
    return upper;
}

}  // namespace pagelark
