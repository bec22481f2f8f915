#include "engine/suggest/WorkText.h"

#include <algorithm>

namespace pagelark {

WorkText::WorkText(std::string_view text, std::vector<Word> words)
    : m_text(text), m_finder(text), m_words(std::move(words)) {}

size_t WorkText::WordIndex(long offset) const {
    const auto it = std::partition_point(m_words.begin(), m_words.end(), [offset](const Word& w) {
        return static_cast<long>(w.end) <= offset;
    });
    return static_cast<size_t>(it - m_words.begin());
}

bool WorkText::Usable(long begin, long end, bool inParameters) const {
    const std::string_view piece =
        m_text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
    if (piece.find('#') != std::string_view::npos) return false;
    if (piece.find("__") != std::string_view::npos) return false;
    // A control byte (0x1F survives flattening) has no place in a script file.
    for (const char c : piece) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
    }
    return !inParameters || piece.find(',') == std::string_view::npos;
}

}  // namespace pagelark
