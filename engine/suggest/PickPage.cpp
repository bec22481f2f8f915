#include "engine/suggest/PickPage.h"

#include "engine/page/FlattenPage.h"
#include "engine/page/TextBytes.h"
#include "engine/suggest/ShownWords.h"

namespace pagelark {
namespace {

// StripMarkers, keeping where each byte came from.
void StripWithOffsets(std::string_view flat, std::string& text, std::vector<uint32_t>& offsets) {
    text.reserve(flat.size());
    offsets.reserve(flat.size());
    bool inMarker = false;
    for (size_t i = 0; i < flat.size(); ++i) {
        const char c = flat[i];
        if (inMarker) {
            if (c == ';') inMarker = false;
        } else if (c == '_' && i + 1 < flat.size() && flat[i + 1] == '_') {
            inMarker = true;
        } else {
            text.push_back(c);
            offsets.push_back(static_cast<uint32_t>(i));
        }
    }
    size_t end = text.size();
    while (end > 0 && IsWhite(static_cast<unsigned char>(text[end - 1])))
        --end;
    size_t begin = 0;
    while (begin < end && IsWhite(static_cast<unsigned char>(text[begin])))
        ++begin;
    text = text.substr(begin, end - begin);
    offsets.erase(offsets.begin() + static_cast<long>(end), offsets.end());
    offsets.erase(offsets.begin(), offsets.begin() + static_cast<long>(begin));
}

}  // namespace

PickPage::PickPage(std::string_view page, std::string_view baseUrl, LinkRecorder& links) {
    // The worker's buffer: room for link markers longer than their tags.
    m_flat.resize(2 * page.size() + 64);
    size_t length = 0;
    if (!FlattenPage(page.data(), page.size(), m_flat.data(), m_flat.size(), length, baseUrl,
                     links))
        length = 0;
    m_flat.resize(length);
    StripWithOffsets(m_flat, m_text, m_flatOffsets);

    // The words of the text, and which of them a browser shows.
    std::vector<WorkText::Word> words;
    for (size_t i = 0; i < m_text.size();) {
        while (i < m_text.size() && IsBlank(static_cast<unsigned char>(m_text[i])))
            ++i;
        const size_t begin = i;
        while (i < m_text.size() && !IsBlank(static_cast<unsigned char>(m_text[i])))
            ++i;
        if (begin < i)
            words.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(i), true});
    }
    const std::vector<char> shown = ShownWords(page, baseUrl, words.size());
    for (size_t w = 0; w < shown.size(); ++w)
        words[w].shown = shown[w] != 0;

    m_match = PageMatchForm(m_text);
    m_matchShown.resize(m_match.bytes.size());
    size_t word = 0;
    for (size_t k = 0; k < m_match.bytes.size(); ++k) {
        while (words[word].end <= m_match.from[k])
            ++word;
        m_matchShown[k] = words[word].shown;
    }

    std::vector<WorkText::Word> flatWords = words;
    for (WorkText::Word& w : flatWords) {
        w.begin = m_flatOffsets[w.begin];
        w.end = m_flatOffsets[w.end - 1] + 1;
    }
    m_dataText.emplace(m_text, std::move(words));
    m_hrefText.emplace(m_flat, std::move(flatWords));
}

}  // namespace pagelark
