#pragma once

#include <cstddef>
#include <string_view>

namespace pagelark {

class LinkRecorder;

// Turns page bytes into one line of text: every tag becomes one blank, bytes
// below 31 are dropped, "&lt;", "&gt;" and "&nbsp;" become blanks, and each
// link is kept as "__A<n>;" before its text and "__A;" after it, with its
// absolute URL recorded in `links`. The text and a terminating zero go to
// `out` (capacity bytes); text that would not fit stops at the buffer's end.
// Returns false, writing nothing, for a null page, n == 0 or no capacity.
bool FlattenPage(const char* page, size_t n, char* out, size_t capacity, size_t& length,
                 std::string_view baseUrl, LinkRecorder& links);

}  // namespace pagelark
