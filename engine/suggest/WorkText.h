#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/suggest/TextFinder.h"

namespace pagelark {

// The text a Filter's START, NEAR and END are looked up in, with its words
// and whether a browser shows them: the text DATA mode reads, or the
// flattened text (link markers and all) that HREF mode reads.
class WorkText {
  public:
    struct Word {
        uint32_t begin;
        uint32_t end;
        bool shown;
    };

    // The text must outlive the work text.
    WorkText(std::string_view text, std::vector<Word> words);

    std::string_view Text() const { return m_text; }
    const TextFinder& Finder() const { return m_finder; }
    const std::vector<Word>& Words() const { return m_words; }
    // The first word that ends after `offset` (Words().size() if none).
    size_t WordIndex(long offset) const;
    // Whether a stretch of the text can be a Filter's text: no "#", no link
    // marker, no control byte, and for P2 also no "," (which would end it).
    bool Usable(long begin, long end, bool inParameters) const;

  private:
    std::string_view m_text;
    TextFinder m_finder;
    std::vector<Word> m_words;
};

}  // namespace pagelark
