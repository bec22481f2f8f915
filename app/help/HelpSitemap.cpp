#include "app/help/HelpSitemap.h"

#include <algorithm>
#include <cctype>

namespace pagelark {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::string_view head) {
    return text.size() >= head.size() &&
           std::equal(head.begin(), head.end(), text.begin(),
                      [](char a, char b) { return Lower(a) == Lower(b); });
}

std::string DecodeEntities(std::string_view text) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            if (text.substr(i, entity.size()) == entity) {
                out += c;
                i += entity.size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i];
    }
    return out;
}

// The value of attribute `name` inside a tag's text, quoted or bare.
std::string Attribute(std::string_view tag, std::string_view name) {
    for (size_t at = 0; at < tag.size(); ++at) {
        if (!StartsWithNoCase(tag.substr(at), name)) continue;
        if (at > 0 && !std::isspace(static_cast<unsigned char>(tag[at - 1]))) continue;
        size_t i = at + name.size();
        while (i < tag.size() && tag[i] == ' ')
            ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && tag[i] == ' ')
            ++i;
        if (i >= tag.size()) return {};
        const char quote = tag[i];
        if (quote == '"' || quote == '\'') {
            const size_t end = tag.find(quote, i + 1);
            if (end == std::string_view::npos) return {};
            return DecodeEntities(tag.substr(i + 1, end - i - 1));
        }
        size_t end = i;
        while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])))
            ++end;
        return DecodeEntities(tag.substr(i, end - i));
    }
    return {};
}

}  // namespace

std::vector<SitemapEntry> ParseSitemap(std::string_view text) {
    std::vector<SitemapEntry> entries;
    int depth = -1;
    bool inObject = false;
    SitemapEntry entry;
    size_t at = 0;
    while ((at = text.find('<', at)) != std::string_view::npos) {
        const size_t end = text.find('>', at);
        if (end == std::string_view::npos) break;
        const std::string_view tag = text.substr(at + 1, end - at - 1);
        at = end + 1;
        if (StartsWithNoCase(tag, "ul")) {
            ++depth;
        } else if (StartsWithNoCase(tag, "/ul")) {
            depth = std::max(depth - 1, -1);
        } else if (StartsWithNoCase(tag, "object")) {
            inObject = true;
            entry = SitemapEntry{};
            entry.depth = std::max(depth, 0);
        } else if (StartsWithNoCase(tag, "/object")) {
            if (inObject && !entry.name.empty()) entries.push_back(entry);
            inObject = false;
        } else if (inObject && StartsWithNoCase(tag, "param")) {
            const std::string name = Attribute(tag, "name");
            std::string lowered(name);
            std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
            // An index entry may name several topics; the first one counts.
            if (lowered == "name" && entry.name.empty()) entry.name = Attribute(tag, "value");
            if (lowered == "local" && entry.local.empty()) entry.local = Attribute(tag, "value");
        }
    }
    return entries;
}

}  // namespace pagelark
