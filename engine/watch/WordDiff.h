#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// One stretch of a word-level difference.
struct DiffPiece {
    enum class Kind { Same, Added, Removed };
    Kind kind = Kind::Same;
    // The words, a blank between two where their text had white space; a
    // piece that follows another starts with a blank when its first word had
    // white space before it.
    std::string text;
    bool operator==(const DiffPiece&) const = default;
};

// The words of `after` against those of `before`, in reading order: words
// both have are Same, words only `after` has are Added, words only `before`
// had are Removed, each removed stretch just before the words that replace
// it. Words are separated by white space; a Chinese, Japanese or Korean
// character is a word of its own, since such text has no blanks between
// words. Texts of thousands of words are compared as a whole (all removed,
// all added) rather than word by word.
std::vector<DiffPiece> DiffWords(std::string_view before, std::string_view after);

}  // namespace pagelark
