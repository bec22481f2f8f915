#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How a page's flattened text and the words a browser reports are compared
// when a selection is looked up on the page.
//
// A browser and the flattening see the same page differently: every tag is a
// blank in the flattened text but a tag inside a word ("Wea<b>ther</b>") is
// nothing on the screen; a line break in the page's source joins two words in
// the flattened text ("on\nTuesday" gives "onTuesday") but is a blank on the
// screen; the flattened text keeps entities as written ("&amp;", "&#8217;")
// except "&lt;", "&gt;" and "&nbsp;", which become blanks, while the screen
// shows them all decoded. Both sides are therefore compared in their match
// form: entities of the page decoded, and every blank left out (ASCII white
// space, U+00A0 and the other space characters) together with what is
// invisible or may stand for a blank (soft hyphen, zero-width characters,
// "<" and ">"). Where the selection begins and ends is then mapped back onto
// the flattened text, which may be inside one of its words.
namespace pagelark {

struct MatchForm {
    std::string bytes;
    // Per byte of `bytes`: where the character (or entity) it comes from
    // starts in the text, and where it ends.
    std::vector<uint32_t> from;
    std::vector<uint32_t> to;
};

// The match form of a page's text (entities decoded), with its offsets.
MatchForm PageMatchForm(std::string_view text);

// The match form of words as a browser shows them (nothing decoded).
std::string ShownMatchForm(std::string_view text);

// ASCII letters in lower case, in place: for pages that show their words in
// another case than they write them (a style may set capitals).
void FoldAsciiCase(std::string& text);

}  // namespace pagelark
