#pragma once

#include <compare>
#include <string_view>

namespace pagelark {

// How good the texts of a proposed Filter are (START, the NEAR text and END),
// compared field by field in the order given: the smaller, the better.
struct AnchorKey {
    bool digits = false;      // a text holds a digit: prices, dates and counters change
    bool unreadable = false;  // a text is not words a person would recognise, or not shown
    bool far = false;         // more than kNearWords words lie between START and the selection
    int words = 0;            // words in the texts
    int distance = 0;         // words between START and the selection
    bool near = false;        // START is looked for after a NEAR text
    int bytes = 0;            // bytes of the texts

    auto operator<=>(const AnchorKey&) const = default;

    // Counts in one more text of the Filter; `shown` tells whether a browser
    // shows it.
    void Add(std::string_view text, bool shown);
    // Counts in the texts another key was made of.
    void Include(const AnchorKey& texts);
};

inline constexpr int kNearWords = 10;

bool HasDigit(std::string_view text);

// Every blank-separated word holds a letter (of any script), is at most 30
// bytes long and looks like neither an entity ("&amp;") nor code ("{", "=").
bool ReadsAsWords(std::string_view text);

}  // namespace pagelark
