#include "files/XmlToken.h"

namespace pagelark {
namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDelimiter(char c) {
    return c == '<' || c == '>' || c == '=' || c == '\\' || c == '/' || c == '?' || c == '!';
}

}  // namespace

bool IsWritableName(std::string_view name) {
    for (const char c : name) {
        if (IsXmlSpace(c) || IsDelimiter(c) || c == '"' || c == '\0') return false;
    }
    return !name.empty();
}

bool NextToken(std::string_view text, XmlToken& token) {
    const int32_t length = static_cast<int32_t>(text.size());
    int32_t i = token.next;
    if (i < 0) {  // an element that is no longer in the text
        token.next = length;
        return false;
    }
    while (i < length && IsXmlSpace(text[i]))
        ++i;
    if (i >= length) {
        token.next = length;
        return false;
    }
    token.quoted = text[i] == '"';
    if (token.quoted) {
        token.start = i + 1;
        int32_t close = token.start;
        while (close < length && text[close] != '"')
            ++close;
        token.end = close - 1;
        token.next = close < length ? close + 1 : length;
    } else {
        token.start = i;
        int32_t j = i + 1;
        if (!IsDelimiter(text[i])) {
            while (j < length && !IsXmlSpace(text[j]) && !IsDelimiter(text[j]))
                ++j;
        }
        token.end = j - 1;
        token.next = j;
    }
    return token.next < length;
}

}  // namespace pagelark
