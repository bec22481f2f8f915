#pragma once

#include <string>
#include <string_view>
#include <vector>

// A small model of what a browser shows of a page and reports as selected
// text, independent of the engine's own matching: the words of the text
// nodes outside the title, scripts and styles, entities decoded, words joined
// across inline tags ("Wea<b>ther</b>" shows "Weather") and split at blanks,
// line breaks, no-break spaces and block tags, and the test pages' style
// sheet applied (a hidden menu, headings in capitals). Each word knows the link it
// is in (numbered as flattening numbers links) and the list (ul, ol, nav or
// table) around it, and where it is in the page.
namespace pagelark::bench {

struct ShownWord {
    std::string text;
    int link = -1;
    int list = -1;
    size_t rawBegin = 0;  // the page bytes the word comes from (tags and entities included)
    size_t rawEnd = 0;
};

std::vector<ShownWord> ShowPage(std::string_view page);

}  // namespace pagelark::bench
