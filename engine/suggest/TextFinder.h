#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pagelark {

// FindText for many patterns on one text: the same answers (a match never
// starts inside a link marker and may end on the text's last byte), from an
// index built once. The text holds no CR or LF (flattened text never does)
// and must outlive the finder.
//
// The index lists, for every pair of bytes, the positions where a match may
// start with that pair (in text order), so a search compares only at those
// places instead of walking the page: a proposal asks hundreds of questions
// of one page, most of them "where is this found first".
class TextFinder {
  public:
    explicit TextFinder(std::string_view text);

    // FindText(text, pattern, start).
    long Find(std::string_view pattern, long start) const;

    // The last position below `before` at which FindText(text, pattern, 0)
    // could return a match, or -1.
    long FindLastBefore(std::string_view pattern, long before) const;

  private:
    bool MayStart(size_t pos, size_t start) const;
    bool MatchesAt(std::string_view pattern, size_t pos) const;
    // The positions whose two bytes are the pattern's first two.
    const uint32_t* BucketBegin(std::string_view pattern) const;
    const uint32_t* BucketEnd(std::string_view pattern) const;

    std::string_view m_text;
    bool m_markers = false;  // whether the text holds "__" at all
    // With a search begun at 0: whether a match may start at each position.
    std::vector<char> m_mayStart;
    // The first position at or after each one where the in-marker state is
    // set or cleared ("__" or ";"): before it, a search begun there may start
    // anywhere.
    std::vector<uint32_t> m_nextEvent;
    std::vector<uint32_t> m_bucketStart;  // 65537 entries
    std::vector<uint32_t> m_positions;
};

}  // namespace pagelark
