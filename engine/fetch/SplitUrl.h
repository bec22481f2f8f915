#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// A URL taken apart. Every field is empty when the text is not a URL this
// build can parse; `host` is empty for a URL without one (file:///x).
struct UrlParts {
    std::string scheme;  // lower case
    std::string host;
    std::string url;  // the whole URL as it is sent, spaces percent-encoded
};

// Splits a URL with libcurl's parser, without guessing a scheme: "abc" or
// "example.com/x" is no URL. Touches no network.
UrlParts SplitUrl(std::string_view text);

}  // namespace pagelark
