#pragma once

#include <optional>
#include <string_view>

// The three scanning rules that flattening applies to a tag. They work on the
// raw page bytes and never look past the text they are given.
namespace pagelark {

// From the "<" at `open`, the position of the ">" that closes the tag: the
// first ">" outside double quotes (single quotes do not count).
// std::string_view::npos when the page ends first (a plain index is cheaper
// to return in the flattening loop than an optional).
size_t FindTagEnd(std::string_view page, size_t open);

struct TagName {
    std::string_view name;
    size_t end = 0;  // position of the blank or ">" that ended the name
};

// The tag name read from `start` in the tag text: leading blanks skipped, then
// everything up to a blank or ">". None when a ">" or the end comes first.
std::optional<TagName> ReadTagName(std::string_view tag, size_t start);

// The trimmed value of the first attribute word "href" at or after `start` in
// the tag text, or none (also for an empty value).
std::optional<std::string_view> ReadLinkValue(std::string_view tag, size_t start);

}  // namespace pagelark
