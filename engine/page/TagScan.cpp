#include "engine/page/TagScan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/page/TextBytes.h"

namespace pagelark {

size_t FindTagEnd(std::string_view page, size_t open) {
    const char* const p = page.data();
    const size_t n = page.size();
    bool inQuotes = false;
    size_t i = open;
#if defined(__SSE2__)
    // Sixteen bytes at a time; only the ">" and '"' among them are looked at.
    const __m128i gt = _mm_set1_epi8('>');
    const __m128i quote = _mm_set1_epi8('"');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, gt), _mm_cmpeq_epi8(v, quote))));
        for (; mask != 0; mask &= mask - 1) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
            if (p[at] == '"') {
                inQuotes = !inQuotes;
            } else if (!inQuotes) {
                return at;
            }
        }
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == '"') {
            inQuotes = !inQuotes;
        } else if (p[i] == '>' && !inQuotes) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::optional<TagName> ReadTagName(std::string_view tag, size_t start) {
    size_t first = std::string_view::npos;
    for (size_t i = start; i < tag.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(tag[i]);
        if (IsBlank(c)) {
            if (first != std::string_view::npos) return TagName{tag.substr(first, i - first), i};
        } else if (c == '>') {
            if (first == std::string_view::npos) return std::nullopt;
            return TagName{tag.substr(first, i - first), i};
        } else if (first == std::string_view::npos) {
            first = i;
        }
    }
    return std::nullopt;
}

namespace {

bool EndsWord(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '=';
}

// Position of the byte that ended the first word "href" (any case), if any.
std::optional<size_t> FindHrefWord(std::string_view tag, size_t start) {
    static constexpr char kHref[] = "href";
    size_t length = 0;   // bytes in the current word
    bool isHref = true;  // the word read so far is a prefix of "href"
    for (size_t i = start; i < tag.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(tag[i]);
        if (EndsWord(c)) {
            if (length > 0) {
                if (isHref && length == 4) return i;
                length = 0;
                isHref = true;
            }
        } else if (c == '>') {
            if (length == 0) return std::nullopt;  // a ">" inside a word is skipped
        } else {
            const unsigned char lower = (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
            if (length >= 4 || lower != static_cast<unsigned char>(kHref[length])) isHref = false;
            ++length;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string_view> ReadLinkValue(std::string_view tag, size_t start) {
    if (start >= tag.size()) return std::nullopt;
    const std::optional<size_t> ending = FindHrefWord(tag, start);
    if (!ending) return std::nullopt;
    size_t i = *ending + 1;
    while (i < tag.size() && IsBlank(static_cast<unsigned char>(tag[i])))
        ++i;
    if (i >= tag.size()) return std::nullopt;

    std::string_view value;
    const char c = tag[i];
    if (c == '\'' || c == '"') {
        const size_t close = tag.find(c, i + 1);
        if (close == std::string_view::npos) return std::nullopt;
        value = tag.substr(i + 1, close - i - 1);
    } else {
        const std::optional<TagName> word = ReadTagName(tag, i);
        if (!word) return std::nullopt;
        value = word->name;
    }
    value = Trim(value);
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace pagelark
