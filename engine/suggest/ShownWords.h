#pragma once

#include <string_view>
#include <vector>

namespace pagelark {

// Which words of a page's text (its flattened text without link markers, as
// DATA mode reads it) a browser shows: not the words inside <title>,
// <script>, <style> or <template>, which flattening keeps as ordinary text.
// One flag per word, `wordCount` in all. Empty when it cannot tell (the page
// holds byte 0x1F itself, or the pieces do not line up); then every word
// counts as shown.
std::vector<char> ShownWords(std::string_view page, std::string_view baseUrl, size_t wordCount);

}  // namespace pagelark
