#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/suggest/MatchText.h"
#include "engine/suggest/WorkText.h"

namespace pagelark {

class LinkRecorder;

// One page prepared for picking Filters on it: its flattened text as the
// worker makes it, the text DATA mode reads (without link markers), that
// text's words, which of them a browser shows, its match form, and both
// texts indexed for looking up START, NEAR and END. Built once per page
// shown; every proposal on the page reads it. It refers to itself, so it is
// neither copied nor moved.
class PickPage {
  public:
    // `page` is what the worker would flatten (converted to UTF-8), `baseUrl`
    // the item's URL; the links are numbered through `links`.
    PickPage(std::string_view page, std::string_view baseUrl, LinkRecorder& links);
    PickPage(const PickPage&) = delete;
    PickPage& operator=(const PickPage&) = delete;

    // The flattened text, with link markers: what ExtractResult is given.
    const std::string& Flat() const { return m_flat; }
    // StripMarkers(Flat()): what DATA mode reads.
    const std::string& Text() const { return m_text; }
    // Where each byte of Text() is in Flat().
    uint32_t FlatOffset(size_t textOffset) const { return m_flatOffsets[textOffset]; }
    const MatchForm& Match() const { return m_match; }
    // Whether the byte of the match form at `offset` is in a shown word.
    bool MatchShown(size_t offset) const { return m_matchShown[offset] != 0; }
    // Text() with its words (the runs of non-blanks) and whether a browser
    // shows them, for DATA mode.
    const WorkText& DataText() const { return *m_dataText; }
    // Flat() with the words of Text() placed in it, for HREF mode.
    const WorkText& HrefText() const { return *m_hrefText; }

  private:
    std::string m_flat;
    std::string m_text;
    std::vector<uint32_t> m_flatOffsets;
    MatchForm m_match;
    std::vector<char> m_matchShown;
    std::optional<WorkText> m_dataText;
    std::optional<WorkText> m_hrefText;
};

}  // namespace pagelark
