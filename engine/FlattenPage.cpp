#include "engine/FlattenPage.h"

#include <cstring>

#include "engine/LinkTable.h"
#include "engine/ResolveLink.h"
#include "engine/TagScan.h"
#include "engine/TextBytes.h"

namespace pagelark {
namespace {

// Replaces "&lt;", "&gt;" and "&nbsp;" by one blank each, in place. The three
// patterns cannot overlap and a blank never completes one, so one pass gives
// what three successive passes would. Returns the new length.
size_t DecodeEntities(char* text, size_t length) {
    char* amp = static_cast<char*>(std::memchr(text, '&', length));
    if (amp == nullptr) return length;
    size_t w = static_cast<size_t>(amp - text);
    size_t r = w;
    while (r < length) {
        if (text[r] == '&') {
            const std::string_view rest(text + r, length - r);
            size_t skip = 0;
            if (rest.substr(0, 4) == "&lt;" || rest.substr(0, 4) == "&gt;") {
                skip = 4;
            } else if (rest.substr(0, 6) == "&nbsp;") {
                skip = 6;
            }
            if (skip > 0) {
                text[w++] = ' ';
                r += skip;
                continue;
            }
        }
        text[w++] = text[r++];
    }
    return w;
}

class Flattener {
public:
    Flattener(std::string_view page, char* out, size_t capacity, std::string_view base,
              LinkTable& links)
        : m_page(page), m_out(out), m_room(capacity - 1), m_base(base), m_links(links) {}

    size_t Run() {
        size_t i = 0;
        const size_t n = m_page.size();
        while (i < n && m_k < m_room) {
            // Ordinary bytes: copied, those below 31 dropped, until a "<".
            const size_t limit = std::min(n, i + (m_room - m_k));
            while (i < limit) {
                const unsigned char c = static_cast<unsigned char>(m_page[i]);
                if (c == '<') break;
                if (c == '"') m_quoteParity ^= 1;
                m_out[m_k] = static_cast<char>(c);
                m_k += c >= 31;
                ++i;
            }
            if (i < limit) i = Tag(i);
        }
        return m_k;
    }

private:
    // Handles the "<" at i; returns where scanning goes on.
    size_t Tag(size_t i) {
        m_out[m_k++] = ' ';
        // A scan that found no end from a "<" at some quote parity finds none
        // from any later "<" of the same parity, so it is not repeated.
        const int parity = m_quoteParity;
        std::optional<size_t> end;
        if (!m_noEnd[parity]) {
            end = FindTagEnd(m_page, i);
            if (!end) m_noEnd[parity] = true;
        }
        if (!end) return i + 1;

        const std::string_view tag = m_page.substr(i, *end - i + 1);
        if (const std::optional<TagName> name = ReadTagName(tag, 1)) {
            if (m_inAnchor && EqualsIgnoreCase(name->name, "/a")) {
                if (!Write(kClosingMarker)) return m_page.size();
                m_inAnchor = false;
            } else if (EqualsIgnoreCase(name->name, "a")) {
                if (const std::optional<std::string_view> value = ReadLinkValue(tag, name->end)) {
                    const std::string url = ResolveLink(m_base, *value);
                    const std::string marker = m_links.Record(url, m_room - m_k);
                    if (marker.empty() || !Write(marker)) return m_page.size();
                }
                m_inAnchor = true;
            }
        }
        // The bytes of a tag hold an even number of double quotes, so the
        // parity after it is the parity before it.
        return *end + 1;
    }

    bool Write(std::string_view text) {
        if (text.size() > m_room - m_k) {
            m_k = m_room;  // full: nothing more is written
            return false;
        }
        std::memcpy(m_out + m_k, text.data(), text.size());
        m_k += text.size();
        return true;
    }

    std::string_view m_page;
    char* m_out;
    size_t m_room;  // capacity less the terminating zero
    size_t m_k = 0;
    std::string_view m_base;
    LinkTable& m_links;
    bool m_inAnchor = false;
    int m_quoteParity = 0;  // double quotes before the scan position, mod 2
    bool m_noEnd[2] = {false, false};
};

}  // namespace

bool FlattenPage(const char* page, size_t n, char* out, size_t capacity, size_t& length,
                 std::string_view baseUrl, LinkTable& links) {
    if (page == nullptr || n == 0 || out == nullptr || capacity == 0) return false;
    Flattener flattener(std::string_view(page, n), out, capacity, baseUrl, links);
    size_t k = DecodeEntities(out, flattener.Run());
    while (k > 0 && IsWhite(static_cast<unsigned char>(out[k - 1]))) --k;
    size_t a = 0;
    while (a < k && IsWhite(static_cast<unsigned char>(out[a]))) ++a;
    if (a > 0) std::memmove(out, out + a, k - a);
    k -= a;
    out[k] = '\0';
    length = k;
    return true;
}

}  // namespace pagelark
