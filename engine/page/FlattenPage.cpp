#include "engine/page/FlattenPage.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/page/LinkMarkers.h"
#include "engine/page/ResolveLink.h"
#include "engine/page/TagScan.h"
#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

// Replaces "&lt;", "&gt;" and "&nbsp;" by one blank each, in place. The three
// patterns cannot overlap and a blank never completes one, so one pass gives
// what three successive passes would. Returns the new length.
size_t DecodeEntities(char* text, size_t length) {
    const char* amp = static_cast<const char*>(std::memchr(text, '&', length));
    if (amp == nullptr) return length;
    size_t w = static_cast<size_t>(amp - text);
    size_t r = w;
    while (r < length) {  // text[r] is an "&"
        const std::string_view rest(text + r, length - r);
        if (rest.starts_with("&lt;") || rest.starts_with("&gt;")) {
            text[w++] = ' ';
            r += 4;
        } else if (rest.starts_with("&nbsp;")) {
            text[w++] = ' ';
            r += 6;
        } else {
            text[w++] = text[r++];
        }
        const void* next = std::memchr(text + r, '&', length - r);
        const size_t stop =
            next ? static_cast<size_t>(static_cast<const char*>(next) - text) : length;
        std::memmove(text + w, text + r, stop - r);
        w += stop - r;
        r = stop;
    }
    return w;
}

// Copies page bytes from i until a "<" or `limit`, dropping bytes below 31;
// returns where it stopped. The caller guarantees limit - i bytes of room at k.
size_t CopyText(const char* in, size_t i, size_t limit, char* out, size_t& k) {
    size_t w = k;  // a local: stores through `out` could alias k
#if defined(__SSE2__)
    // Sixteen bytes at a time while none of them is a "<" or a control byte.
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i highestControl = _mm_set1_epi8(30);
    while (i + 16 <= limit) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, highestControl), v);
        const int special = _mm_movemask_epi8(_mm_or_si128(control, _mm_cmpeq_epi8(v, lt)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + w), v);
        if (special == 0) {
            i += 16;
            w += 16;
            continue;
        }
        const int first = __builtin_ctz(static_cast<unsigned>(special));
        i += static_cast<size_t>(first);
        w += static_cast<size_t>(first);
        if (in[i] == '<') {
            k = w;
            return i;
        }
        ++i;  // a control byte: dropped
    }
#endif
    for (; i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        if (c == '<') break;
        out[w] = static_cast<char>(c);
        w += c >= 31;
    }
    k = w;
    return i;
}

class Flattener {
  public:
    Flattener(std::string_view page, char* out, size_t capacity, std::string_view base,
              LinkRecorder& links)
        : m_page(page), m_out(out), m_room(capacity - 1), m_links(links), m_resolver(base) {}

    size_t Run() {
        const size_t n = m_page.size();
        size_t i = 0;
        while (i < n && m_k < m_room) {
            // Ordinary bytes up to the next "<" are copied, those below 31 dropped.
            const size_t limit = std::min(n, i + (m_room - m_k));
            i = CopyText(m_page.data(), i, limit, m_out, m_k);
            if (i < limit) i = Tag(i);
        }
        return m_k;
    }

  private:
    // Handles the "<" at i; returns where scanning goes on.
    size_t Tag(size_t i) {
        m_out[m_k++] = ' ';
        const size_t end = TagEnd(i);
        if (end == std::string_view::npos) return i + 1;

        const std::string_view tag = m_page.substr(i, end - i + 1);
        if (const std::optional<TagName> name = ReadTagName(tag, 1)) {
            if (m_inAnchor && EqualsIgnoreCase(name->name, "/a")) {
                if (!Write(kClosingMarker)) return m_page.size();
                m_inAnchor = false;
            } else if (EqualsIgnoreCase(name->name, "a")) {
                if (const std::optional<std::string_view> value = ReadLinkValue(tag, name->end)) {
                    const std::string marker =
                        m_links.Record(m_resolver.Resolve(*value), m_room - m_k);
                    if (marker.empty() || !Write(marker)) return m_page.size();
                }
                m_inAnchor = true;
            }
        }
        return end + 1;
    }

    // The tag end for the "<" at i. A scan that finds none from a "<" at some
    // parity of double quotes before it finds none from any later "<" of the
    // same parity either, so a page with an unclosed quote or tag is scanned
    // to its end at most twice.
    size_t TagEnd(size_t i) {
        if (m_noEnd[0] || m_noEnd[1]) {
            if (m_noEnd[QuoteParity(i)]) return std::string_view::npos;
        }
        const size_t end = FindTagEnd(m_page, i);
        if (end == std::string_view::npos) m_noEnd[QuoteParity(i)] = true;
        return end;
    }

    // Number of double quotes before i, mod 2; asked for at rising positions.
    int QuoteParity(size_t i) {
        const auto count = std::count(m_page.begin() + static_cast<long>(m_parityPos),
                                      m_page.begin() + static_cast<long>(i), '"');
        m_parity ^= static_cast<int>(count & 1);
        m_parityPos = i;
        return m_parity;
    }

    bool Write(std::string_view text) {
        if (text.size() > m_room - m_k) return false;
        std::memcpy(m_out + m_k, text.data(), text.size());
        m_k += text.size();
        return true;
    }

    std::string_view m_page;
    char* m_out;
    size_t m_room;  // capacity less the terminating zero
    size_t m_k = 0;
    LinkRecorder& m_links;
    LinkResolver m_resolver;
    bool m_inAnchor = false;
    size_t m_parityPos = 0;
    int m_parity = 0;                  // double quotes before m_parityPos, mod 2
    bool m_noEnd[2] = {false, false};  // by quote parity: no tag end from any later "<"
};

}  // namespace

bool FlattenPage(const char* page, size_t n, char* out, size_t capacity, size_t& length,
                 std::string_view baseUrl, LinkRecorder& links) {
    if (page == nullptr || n == 0 || out == nullptr || capacity == 0) return false;
    Flattener flattener(std::string_view(page, n), out, capacity, baseUrl, links);
    size_t k = DecodeEntities(out, flattener.Run());
    while (k > 0 && IsWhite(static_cast<unsigned char>(out[k - 1])))
        --k;
    size_t a = 0;
    while (a < k && IsWhite(static_cast<unsigned char>(out[a])))
        ++a;
    if (a > 0) std::memmove(out, out + a, k - a);
    k -= a;
    out[k] = '\0';
    length = k;
    return true;
}

}  // namespace pagelark
