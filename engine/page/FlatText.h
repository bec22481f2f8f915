#pragma once

#include <string>
#include <string_view>

// Scans over flattened page text, where "__A<n>;" and "__A;" mark links.
namespace pagelark {

// Case-sensitive search for `pattern` from `start` that never starts a match
// inside a link marker; LF and CR in the text are skipped while comparing.
// Returns the position or -1.
long FindText(std::string_view text, std::string_view pattern, long start);

// The text without link markers (from "__" up to and including the next ";"),
// trimmed at both ends.
std::string StripMarkers(std::string_view text);

// Word k of the text counted from `start`: every blank that starts a run of
// blanks (or stands at `start`) moves on to the next word, so a text that
// begins with a blank has an empty word 0. Empty when there is no such word.
std::string WordAt(std::string_view text, long start, long k);

// Appends words first, first + 1, ... (at most `count`, each followed by one
// blank) of the text as WordAt numbers them, stopping at the first empty word.
// One pass over the text, however many words are asked for.
void AppendWords(std::string& out, std::string_view text, long first, long count);

struct LinkAt {
    std::string_view marker;  // "__A12;"
    std::string_view text;    // bytes between the marker and the next marker
    long next = -1;           // where the next search starts; -1 when no link was found
};

// The next link at or after `pos`: an opening marker followed by its text and
// another marker. A closing marker right after the text is consumed.
LinkAt NextLink(std::string_view text, long pos);

}  // namespace pagelark
