#include "engine/watch/WordDiff.h"

#include <cstdint>

#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

struct Word {
    std::string_view text;
    bool blankBefore = false;
};

// The length of the UTF-8 character at `at` and its code point; a byte that
// does not start a whole character is a character of its own (code point 0).
size_t CharAt(std::string_view text, size_t at, std::uint32_t& code) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    const size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    code = lead < 0x80 ? lead : 0;
    if (size == 1 || at + size > text.size()) return 1;
    std::uint32_t value = lead & (0x7F >> size);
    for (size_t k = 1; k < size; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return 1;
        value = value << 6 | (byte(k) & 0x3F);
    }
    code = value;
    return size;
}

// Scripts written without blanks between words: each character counts alone.
bool StandsAlone(std::uint32_t code) {
    return (code >= 0x2E80 && code <= 0x9FFF) || (code >= 0xAC00 && code <= 0xD7AF) ||
           (code >= 0xF900 && code <= 0xFAFF) || (code >= 0xFF00 && code <= 0xFFEF) ||
           (code >= 0x20000 && code <= 0x3FFFF);
}

std::vector<Word> SplitWords(std::string_view text) {
    std::vector<Word> words;
    bool blank = false;
    size_t start = std::string_view::npos;
    const auto close = [&](size_t end) {
        if (start == std::string_view::npos) return;
        words.push_back({text.substr(start, end - start), blank});
        blank = false;
        start = std::string_view::npos;
    };
    for (size_t at = 0; at < text.size();) {
        if (IsWhite(static_cast<unsigned char>(text[at]))) {
            close(at);
            blank = true;
            ++at;
            continue;
        }
        std::uint32_t code = 0;
        const size_t size = CharAt(text, at, code);
        if (StandsAlone(code)) {
            close(at);
            words.push_back({text.substr(at, size), blank});
            blank = false;
        } else if (start == std::string_view::npos) {
            start = at;
        }
        at += size;
    }
    close(text.size());
    return words;
}

// Beyond this many word pairs the texts are compared as a whole.
constexpr size_t kMostPairs = 1'000'000;

}  // namespace

std::vector<DiffPiece> DiffWords(std::string_view before, std::string_view after) {
    const std::vector<Word> a = SplitWords(before);
    const std::vector<Word> b = SplitWords(after);
    const size_t n = a.size();
    const size_t m = b.size();
    // common[i][j]: the longest run of words a[i..] and b[j..] share.
    std::vector<std::vector<std::uint32_t>> common;
    if (n * m <= kMostPairs) {
        common.assign(n + 1, std::vector<std::uint32_t>(m + 1, 0));
        for (size_t i = n; i-- > 0;) {
            for (size_t j = m; j-- > 0;) {
                common[i][j] = a[i].text == b[j].text
                                   ? common[i + 1][j + 1] + 1
                                   : std::max(common[i + 1][j], common[i][j + 1]);
            }
        }
    }
    std::vector<DiffPiece> pieces;
    const auto put = [&pieces](DiffPiece::Kind kind, const Word& word) {
        const bool first = pieces.empty();
        if (first || pieces.back().kind != kind) pieces.push_back({kind, {}});
        std::string& text = pieces.back().text;
        if (word.blankBefore && !(first && text.empty())) text += ' ';
        text += word.text;
    };
    std::vector<const Word*> removed;
    std::vector<const Word*> added;
    const auto flush = [&] {
        for (const Word* word : removed)
            put(DiffPiece::Kind::Removed, *word);
        for (const Word* word : added)
            put(DiffPiece::Kind::Added, *word);
        removed.clear();
        added.clear();
    };
    size_t i = 0;
    size_t j = 0;
    while (i < n || j < m) {
        const bool compared = !common.empty();
        if (compared && i < n && j < m && a[i].text == b[j].text) {
            flush();
            put(DiffPiece::Kind::Same, b[j]);
            ++i;
            ++j;
        } else if (i < n && (j == m || !compared || common[i + 1][j] >= common[i][j + 1])) {
            removed.push_back(&a[i++]);
        } else {
            added.push_back(&b[j++]);
        }
    }
    flush();
    return pieces;
}

}  // namespace pagelark
