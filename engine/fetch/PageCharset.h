#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Turns downloaded page bytes into UTF-8. The bytes come from anywhere on the
// web, so every function here accepts any input.
namespace pagelark {

// The charset parameter of a Content-Type value ("text/html; charset=gbk"
// gives "gbk"), or empty.
std::string CharsetFromContentType(std::string_view contentType);

// The first charset label of a <meta charset> or <meta http-equiv=
// "Content-Type" content="...charset=..."> in the first 4096 bytes whose
// label is known, or empty. Comments are skipped.
std::string CharsetFromMeta(std::string_view page);

// The converter name for a charset label ("gb2312" gives "GBK", "iso-8859-1"
// gives "CP1252"), or empty for a label this program does not convert.
std::string EncodingForLabel(std::string_view label);

// The page as UTF-8 of at most maxBytes bytes, cut on a character boundary.
// The charset is taken from a byte-order mark, else from the Content-Type,
// else from a meta tag; a page without one that is valid UTF-8 is kept, any
// other is read as windows-1252. Bytes that cannot be converted become
// U+FFFD. inputCut says the bytes stop at an arbitrary point (the download
// was cut), so an incomplete character at their end is dropped, not replaced.
std::string DecodePage(std::string_view bytes, std::string_view contentType, size_t maxBytes,
                       bool inputCut);

}  // namespace pagelark
