#include "engine/page/FlatText.h"

#include <climits>
#include <cstring>

#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

// Compares the pattern with the window of pattern length + 64 bytes at `at`,
// LF and CR removed from the window first.
bool WindowMatches(std::string_view text, size_t at, std::string_view pattern) {
    const size_t windowEnd = std::min(text.size(), at + pattern.size() + 64);
    size_t p = 0;
    for (size_t i = at; i < windowEnd && p < pattern.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') continue;
        if (c != pattern[p]) return false;
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

long FindText(std::string_view text, std::string_view pattern, long start) {
    const long length = static_cast<long>(text.size());
    if (start < 0 || start > length - 1 || pattern.empty()) return -1;
    const long plen = static_cast<long>(pattern.size());
    // (find_first_of would test every byte against the set one call at a time)
    const bool hasBreaks =
        text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos;
    bool inMarker = false;
    for (long i = start; i < length; ++i) {
        const char c = text[i];
        bool mayStart;
        if (c == '_' && i + 1 < length && text[i + 1] == '_') {
            inMarker = true;
            mayStart = false;
        } else if (c == ';') {
            inMarker = false;
            mayStart = true;
        } else {
            mayStart = !inMarker;
        }
        // A match may end on the text's last byte.
        if (!mayStart || c != pattern[0] || i + plen > length) continue;
        const bool equal = hasBreaks
                               ? WindowMatches(text, static_cast<size_t>(i), pattern)
                               : std::memcmp(text.data() + i, pattern.data(), pattern.size()) == 0;
        if (equal) return i;
    }
    return -1;
}

std::string StripMarkers(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inMarker = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inMarker) {
            if (c == ';') inMarker = false;
        } else if (c == '_' && i + 1 < text.size() && text[i + 1] == '_') {
            inMarker = true;
        } else {
            out.push_back(c);
        }
    }
    const std::string_view trimmed = Trim(out);
    return std::string(trimmed);
}

std::string WordAt(std::string_view text, long start, long k) {
    std::string word;
    if (start < 0 || k < 0 || start >= static_cast<long>(text.size())) return word;
    long counter = 0;
    for (size_t i = static_cast<size_t>(start); i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsBlank(c)) {
            if (i == static_cast<size_t>(start) ||
                !IsBlank(static_cast<unsigned char>(text[i - 1]))) {
                if (++counter > k) break;
            }
        } else if (counter == k) {
            word.push_back(static_cast<char>(c));
        }
    }
    return word;
}

void AppendWords(std::string& out, std::string_view text, long first, long count) {
    if (first < 0 || count <= 0 || text.empty()) return;
    // Word numbers as WordAt counts them from position 0: a leading blank makes
    // word 0 empty, and each run of non-blanks is the next word.
    long word = IsBlank(static_cast<unsigned char>(text[0])) ? 1 : 0;
    if (first < word) return;  // word 0 is empty
    const long last = count > LONG_MAX - first ? LONG_MAX : first + count - 1;
    size_t i = 0;
    while (i < text.size() && word <= last) {
        while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t begin = i;
        while (i < text.size() && !IsBlank(static_cast<unsigned char>(text[i])))
            ++i;
        if (begin == i) break;  // no further word
        if (word >= first) {
            out.append(text.substr(begin, i - begin));
            out.push_back(' ');
        }
        ++word;
    }
}

LinkAt NextLink(std::string_view text, long pos) {
    LinkAt none;
    if (pos < 0) return none;
    size_t a = text.find("__A", static_cast<size_t>(pos));
    while (a != std::string_view::npos && a + 3 < text.size() && text[a + 3] == ';')
        a = text.find("__A", a + 4);
    if (a == std::string_view::npos) return none;
    const size_t b = text.find(';', a + 4);
    if (b == std::string_view::npos) return none;
    const size_t c = text.find("__A", b + 1);
    if (c == std::string_view::npos) return none;
    LinkAt link;
    link.marker = text.substr(a, b - a + 1);
    link.text = text.substr(b + 1, c - b - 1);
    const bool closes = c + 3 < text.size() && text[c + 3] == ';';
    link.next = static_cast<long>(closes ? c + 4 : c);
    return link;
}

}  // namespace pagelark
