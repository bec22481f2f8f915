#pragma once

#include <cstdint>
#include <string_view>

namespace pagelark {

// One token of a start or end tag: a double-quoted string (without its
// quotes), one of the delimiters < > = \ / ? !, or a run of other bytes.
struct XmlToken {
    int32_t start = 0;  // first byte
    int32_t end = -1;   // last byte; start - 1 for an empty quoted token
    int32_t next = 0;   // where the next scan begins
    bool quoted = false;

    std::string_view Text(std::string_view text) const {
        return end < start ? std::string_view() : text.substr(start, end - start + 1);
    }
    bool Is(std::string_view text, char c) const {
        return !quoted && end == start && text[start] == c;
    }
};

// Scans the token after token.next. Returns true while the token ends before
// the last byte of the text: a token that reaches the end is produced but
// reported as false, and callers stop without examining it. At the end of the
// text (only white space left) start and end keep their previous values.
bool NextToken(std::string_view text, XmlToken& token);

// True when the scanner reads `name` back as one whole unquoted token: not
// empty, and no white space, delimiter, double quote or zero byte in it.
bool IsWritableName(std::string_view name);

}  // namespace pagelark
