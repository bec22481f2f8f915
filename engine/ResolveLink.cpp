#include "engine/ResolveLink.h"

#include <optional>

#include "engine/TextBytes.h"

namespace pagelark {
namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of "scheme" in "scheme:rest", or 0 when the text does not start with one.
size_t SchemeLength(std::string_view text) {
    if (text.empty() || !IsAlpha(text[0])) return 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ':') return i;
        if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

struct UriParts {
    std::string_view scheme;
    std::optional<std::string_view> authority;
    std::string_view path;
    std::optional<std::string_view> query;
    std::optional<std::string_view> fragment;
};

// Splits a reference after its scheme (if any) into authority, path, query
// and fragment, as the generic syntax does.
UriParts SplitReference(std::string_view text, size_t schemeLength) {
    UriParts parts;
    if (schemeLength > 0) {
        parts.scheme = text.substr(0, schemeLength);
        text.remove_prefix(schemeLength + 1);
    }
    if (const size_t hash = text.find('#'); hash != std::string_view::npos) {
        parts.fragment = text.substr(hash + 1);
        text = text.substr(0, hash);
    }
    if (const size_t mark = text.find('?'); mark != std::string_view::npos) {
        parts.query = text.substr(mark + 1);
        text = text.substr(0, mark);
    }
    if (text.substr(0, 2) == "//") {
        text.remove_prefix(2);
        const size_t slash = text.find('/');
        parts.authority = text.substr(0, slash);
        text = slash == std::string_view::npos ? std::string_view() : text.substr(slash);
    }
    parts.path = text;
    return parts;
}

// RFC 3986 section 5.2.4.
std::string RemoveDotSegments(std::string_view input) {
    std::string output;
    while (!input.empty()) {
        if (input.substr(0, 3) == "../") {
            input.remove_prefix(3);
        } else if (input.substr(0, 2) == "./") {
            input.remove_prefix(2);
        } else if (input.substr(0, 3) == "/./") {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.substr(0, 4) == "/../" || input == "/..") {
            input = input.size() == 3 ? std::string_view("/") : input.substr(3);
            const size_t last = output.rfind('/');
            output.erase(last == std::string::npos ? 0 : last);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            const size_t next = input.find('/', input[0] == '/' ? 1 : 0);
            const std::string_view segment = input.substr(0, next);
            output.append(segment);
            input.remove_prefix(segment.size());
        }
    }
    return output;
}

// RFC 3986 section 5.2.3.
std::string Merge(const UriParts& base, std::string_view path) {
    if (base.authority && base.path.empty()) return "/" + std::string(path);
    const size_t slash = base.path.rfind('/');
    if (slash == std::string_view::npos) return std::string(path);
    return std::string(base.path.substr(0, slash + 1)) + std::string(path);
}

}  // namespace

std::string ResolveLink(std::string_view base, std::string_view value) {
    base = Trim(base);
    value = Trim(value);
    if (value.empty() || value[0] == '#') return std::string(base) + std::string(value);
    if (SchemeLength(value) > 0) return std::string(value);
    const size_t baseScheme = SchemeLength(base);
    if (baseScheme == 0) return std::string(value);

    const UriParts b = SplitReference(base, baseScheme);
    const UriParts r = SplitReference(value, 0);

    std::optional<std::string_view> authority = b.authority;
    std::string path;
    std::optional<std::string_view> query = r.query;
    if (r.authority) {
        authority = r.authority;
        path = RemoveDotSegments(r.path);
    } else if (r.path.empty()) {
        path = std::string(b.path);
        if (!r.query) query = b.query;
    } else if (r.path[0] == '/') {
        path = RemoveDotSegments(r.path);
    } else {
        path = RemoveDotSegments(Merge(b, r.path));
    }

    std::string target(b.scheme);
    target.push_back(':');
    if (authority) {
        target.append("//");
        target.append(*authority);
    }
    target.append(path);
    if (query) {
        target.push_back('?');
        target.append(*query);
    }
    if (r.fragment) {
        target.push_back('#');
        target.append(*r.fragment);
    }
    return target;
}

}  // namespace pagelark
