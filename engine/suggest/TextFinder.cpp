#include "engine/suggest/TextFinder.h"

#include <algorithm>
#include <cstring>

namespace pagelark {
namespace {

constexpr size_t kBuckets = 65536;

size_t PairKey(unsigned char a, unsigned char b) {
    return static_cast<size_t>(a) << 8 | b;
}

}  // namespace

TextFinder::TextFinder(std::string_view text) : m_text(text) {
    const size_t n = text.size();
    m_markers = text.find("__") != std::string_view::npos;
    if (m_markers) {
        m_mayStart.resize(n);
        m_nextEvent.resize(n + 1);
        bool inMarker = false;
        for (size_t i = 0; i < n; ++i) {
            const char c = text[i];
            if (c == '_' && i + 1 < n && text[i + 1] == '_') {
                inMarker = true;
                m_mayStart[i] = 0;
            } else if (c == ';') {
                inMarker = false;
                m_mayStart[i] = 1;
            } else {
                m_mayStart[i] = !inMarker;
            }
        }
        m_nextEvent[n] = static_cast<uint32_t>(n);
        for (size_t i = n; i-- > 0;) {
            const bool event =
                text[i] == ';' || (text[i] == '_' && i + 1 < n && text[i + 1] == '_');
            m_nextEvent[i] = event ? static_cast<uint32_t>(i) : m_nextEvent[i + 1];
        }
    }
    // Counting sort of the positions by their pair of bytes.
    m_bucketStart.assign(kBuckets + 1, 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i + 1 < n; ++i)
        ++m_bucketStart[PairKey(bytes[i], bytes[i + 1]) + 1];
    for (size_t k = 0; k < kBuckets; ++k)
        m_bucketStart[k + 1] += m_bucketStart[k];
    m_positions.resize(n > 0 ? n - 1 : 0);
    std::vector<uint32_t> fill(m_bucketStart.begin(), m_bucketStart.end() - 1);
    for (size_t i = 0; i + 1 < n; ++i)
        m_positions[fill[PairKey(bytes[i], bytes[i + 1])]++] = static_cast<uint32_t>(i);
}

bool TextFinder::MayStart(size_t pos, size_t start) const {
    return !m_markers || pos < m_nextEvent[start] || m_mayStart[pos];
}

bool TextFinder::MatchesAt(std::string_view pattern, size_t pos) const {
    return pos + pattern.size() <= m_text.size() &&
           std::memcmp(m_text.data() + pos, pattern.data(), pattern.size()) == 0;
}

const uint32_t* TextFinder::BucketBegin(std::string_view pattern) const {
    const size_t key =
        PairKey(static_cast<unsigned char>(pattern[0]), static_cast<unsigned char>(pattern[1]));
    return m_positions.data() + m_bucketStart[key];
}

const uint32_t* TextFinder::BucketEnd(std::string_view pattern) const {
    const size_t key =
        PairKey(static_cast<unsigned char>(pattern[0]), static_cast<unsigned char>(pattern[1]));
    return m_positions.data() + m_bucketStart[key + 1];
}

long TextFinder::Find(std::string_view pattern, long start) const {
    const long length = static_cast<long>(m_text.size());
    if (start < 0 || start > length - 1 || pattern.empty()) return -1;
    const size_t from = static_cast<size_t>(start);
    if (pattern.size() == 1) {
        for (size_t pos = m_text.find(pattern[0], from); pos != std::string_view::npos;
             pos = m_text.find(pattern[0], pos + 1)) {
            if (MayStart(pos, from)) return static_cast<long>(pos);
        }
        return -1;
    }
    const uint32_t* end = BucketEnd(pattern);
    for (const uint32_t* it = std::lower_bound(BucketBegin(pattern), end, from); it != end; ++it) {
        if (MatchesAt(pattern, *it) && MayStart(*it, from)) return static_cast<long>(*it);
    }
    return -1;
}

long TextFinder::FindLastBefore(std::string_view pattern, long before) const {
    if (before <= 0 || pattern.empty()) return -1;
    const size_t limit = static_cast<size_t>(before);
    if (pattern.size() == 1) {
        for (size_t pos = m_text.rfind(pattern[0], limit - 1); pos != std::string_view::npos;
             pos = pos == 0 ? std::string_view::npos : m_text.rfind(pattern[0], pos - 1)) {
            if (MayStart(pos, 0)) return static_cast<long>(pos);
        }
        return -1;
    }
    const uint32_t* begin = BucketBegin(pattern);
    for (const uint32_t* it = std::lower_bound(begin, BucketEnd(pattern), limit); it != begin;) {
        --it;
        if (MatchesAt(pattern, *it) && MayStart(*it, 0)) return static_cast<long>(*it);
    }
    return -1;
}

}  // namespace pagelark
