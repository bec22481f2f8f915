#include "engine/suggest/TextFinder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/page/FlatText.h"

namespace pagelark {
namespace {

// Whether FindText, searching from 0, may return a match of `pattern` at p:
// its walk, written out plainly.
bool CouldStart(const std::string& text, const std::string& pattern, size_t p) {
    if (p + pattern.size() > text.size() || text.compare(p, pattern.size(), pattern) != 0)
        return false;
    bool inMarker = false;
    for (size_t i = 0;; ++i) {
        const bool pair = text[i] == '_' && i + 1 < text.size() && text[i + 1] == '_';
        const bool mayStart = pair ? false : text[i] == ';' ? true : !inMarker;
        if (i == p) return mayStart;
        if (pair) inMarker = true;
        if (text[i] == ';') inMarker = false;
    }
}

// Texts of link markers, lone underscores and semicolons, where a match may
// or may not start, and patterns cut from them: the finder must answer every
// question as FindText does.
TEST(TextFinder, AnswersAsFindTextDoes) {
    const std::string pieces[] = {"__A1;", "__A;", "_", ";", "A1", "ab", " ", "b", "__", "a_b"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = static_cast<int>(random() % 24); i > 0; --i)
            text += pieces[random() % std::size(pieces)];
        const TextFinder finder(text);
        for (int ask = 0; ask < 20; ++ask) {
            std::string pattern = pieces[random() % std::size(pieces)];
            if (!text.empty() && random() % 2)
                pattern = text.substr(random() % text.size(), 1 + random() % 4);
            long last = -1;
            for (long at = -1; at <= static_cast<long>(text.size()); ++at) {
                ASSERT_EQ(finder.Find(pattern, at), FindText(text, pattern, at))
                    << "[" << text << "] [" << pattern << "] from " << at;
                if (at < 0) continue;
                ASSERT_EQ(finder.FindLastBefore(pattern, at), last)
                    << "[" << text << "] [" << pattern << "] before " << at;
                if (CouldStart(text, pattern, static_cast<size_t>(at))) last = at;
            }
        }
    }
}

}  // namespace
}  // namespace pagelark
