#include "engine/page/ResolveLink.h"

#include <cstring>
#include <optional>

#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

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

// Whether remove_dot_segments could change the path: some segment may be "." or "..".
bool MayHaveDotSegment(std::string_view path) {
    return (!path.empty() && path[0] == '.') || path.find("/.") != std::string_view::npos;
}

// Removes the dot segments of the path that fills `text` from `from` on
// (RFC 3986 section 5.2.4), in place: the output never outgrows the input
// consumed, so it is written over the input already read.
void RemoveDotSegments(std::string& text, size_t from) {
    const std::string_view all(text);
    size_t r = from;  // input: all.substr(r)
    size_t w = from;  // output: text[from, w)
    const auto dropLastSegment = [&] {
        const size_t slash = all.substr(0, w).rfind('/');
        w = slash == std::string_view::npos || slash < from ? from : slash;
    };
    while (r < all.size()) {
        const std::string_view input = all.substr(r);
        if (input.starts_with("../")) {
            r += 3;
        } else if (input.starts_with("./") || input.starts_with("/./")) {
            r += 2;
        } else if (input == "/.") {
            text[r + 1] = '/';  // the input becomes "/"
            r += 1;
        } else if (input.starts_with("/../")) {
            r += 3;
            dropLastSegment();
        } else if (input == "/..") {
            text[r + 2] = '/';
            r += 2;
            dropLastSegment();
        } else if (input == "." || input == "..") {
            r = all.size();
        } else {
            const size_t next = input.find('/', 1);
            const size_t length = next == std::string_view::npos ? input.size() : next;
            std::memmove(text.data() + w, text.data() + r, length);
            w += length;
            r += length;
        }
    }
    text.resize(w);
}

void AppendPath(std::string& target, std::string_view directory, std::string_view path) {
    const size_t from = target.size();
    target.append(directory);
    target.append(path);
    if (MayHaveDotSegment(directory) || MayHaveDotSegment(path)) RemoveDotSegments(target, from);
}

}  // namespace

LinkResolver::LinkResolver(std::string_view base) : m_base(Trim(base)) {
    const size_t scheme = SchemeLength(m_base);
    if (scheme == 0) return;
    const UriParts parts = SplitReference(m_base, scheme);
    m_scheme = parts.scheme;
    m_authority = parts.authority;
    m_path = parts.path;
    m_query = parts.query;
}

std::string LinkResolver::Resolve(std::string_view value) const {
    value = Trim(value);
    if (value.empty() || value[0] == '#') return std::string(m_base) + std::string(value);
    if (m_scheme.empty() || SchemeLength(value) > 0) return std::string(value);

    const UriParts r = SplitReference(value, 0);
    std::string target;
    target.reserve(m_base.size() + value.size() + 2);
    target.append(m_scheme);
    target.push_back(':');
    const std::optional<std::string_view> authority = r.authority ? r.authority : m_authority;
    if (authority) {
        target.append("//");
        target.append(*authority);
    }
    std::optional<std::string_view> query = r.query;
    if (r.authority || (!r.path.empty() && r.path[0] == '/')) {
        AppendPath(target, {}, r.path);
    } else if (r.path.empty()) {
        target.append(m_path);
        if (!query) query = m_query;
    } else {
        // Merge (RFC 3986 section 5.2.3), then remove dot segments.
        std::string_view directory;
        if (m_authority && m_path.empty()) {
            directory = "/";
        } else if (const size_t slash = m_path.rfind('/'); slash != std::string_view::npos) {
            directory = m_path.substr(0, slash + 1);
        }
        AppendPath(target, directory, r.path);
    }
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

std::string ResolveLink(std::string_view base, std::string_view value) {
    return LinkResolver(base).Resolve(value);
}

}  // namespace pagelark
