#include "app/help/LzxDecoder.h"

#include <algorithm>

namespace pagelark {
namespace {

constexpr int kVerbatim = 1;
constexpr int kAligned = 2;
constexpr int kUncompressed = 3;
constexpr size_t kMinMatch = 2;
constexpr size_t kPretreeSymbols = 20;
constexpr size_t kAlignedSymbols = 8;
// Bits the reader may hand out past the end of a frame's input, as zeros: a
// frame's last code may sit in a word the compressor did not fill.
constexpr size_t kSlackBits = 32;

// The position slots: extra bits and the base offset of each.
struct Slots {
    std::array<uint8_t, 52> extra{};
    std::array<uint32_t, 52> base{};
    Slots() {
        for (size_t i = 0, bits = 0; i < 51; i += 2) {
            extra[i] = extra[i + 1] = static_cast<uint8_t>(bits);
            if (i != 0 && bits < 17) ++bits;
        }
        for (size_t i = 0, position = 0; i < 51; ++i) {
            base[i] = static_cast<uint32_t>(position);
            position += size_t{1} << extra[i];
        }
    }
};
const Slots kSlots;

}  // namespace

// The compressed bits: 16-bit little-endian words, each read from its most
// significant bit down. Past the end come zeros, counted, so that a damaged
// frame ends in a failure rather than a read outside the input.
class LzxDecoder::Bits {
  public:
    explicit Bits(std::string_view input) : m_input(input) {}

    uint32_t Read(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 1) | Bit();
        return value;
    }
    // To the start of the next word, skipping 1 to 16 bits, for the bytes of
    // an uncompressed block.
    void AlignToWord() { m_bit = (m_bit / 16 + 1) * 16; }
    bool ReadBytes(size_t count, std::string_view& bytes) {
        const size_t at = m_bit / 8;
        if (at > m_input.size() || count > m_input.size() - at) return false;
        bytes = m_input.substr(at, count);
        m_bit += count * 8;
        return true;
    }
    void SkipByte() { m_bit += 8; }
    bool Overran() const { return m_bit > m_input.size() * 8 + kSlackBits; }

  private:
    uint32_t Bit() {
        const size_t word = m_bit / 16;
        const size_t shift = 15 - m_bit % 16;
        ++m_bit;
        const auto byte = [&](size_t at) -> uint32_t {
            return at < m_input.size() ? static_cast<unsigned char>(m_input[at]) : 0;
        };
        return ((byte(word * 2) | (byte(word * 2 + 1) << 8)) >> shift) & 1;
    }

    std::string_view m_input;
    size_t m_bit = 0;
};

bool LzxDecoder::Tree::Build(const uint8_t* lengths, size_t n) {
    count.fill(0);
    symbols.clear();
    for (size_t i = 0; i < n; ++i) {
        if (lengths[i] > 16) return false;
        ++count[lengths[i]];
    }
    count[0] = 0;
    // More codes of a length than the shorter ones leave room for: no code.
    int left = 1;
    for (size_t length = 1; length <= 16; ++length) {
        left = left * 2 - count[length];
        if (left < 0) return false;
    }
    for (size_t length = 1; length <= 16; ++length)
        for (size_t i = 0; i < n; ++i)
            if (lengths[i] == length) symbols.push_back(static_cast<uint16_t>(i));
    return true;
}

int LzxDecoder::Tree::Decode(Bits& bits) const {
    // Canonical codes: within each length the codes count up from `first`.
    int code = 0;
    int first = 0;
    int index = 0;
    for (size_t length = 1; length <= 16; ++length) {
        code |= static_cast<int>(bits.Read(1));
        const int n = count[length];
        if (code - first < n) return symbols[static_cast<size_t>(index + code - first)];
        index += n;
        first = (first + n) << 1;
        code <<= 1;
    }
    return -1;
}

LzxDecoder::LzxDecoder(int windowBits) {
    static constexpr int kSlotsForBits[] = {30, 32, 34, 36, 38, 42, 50};
    if (windowBits < 15 || windowBits > 21) return;
    m_positionSlots = kSlotsForBits[windowBits - 15];
    m_window.assign(size_t{1} << windowBits, 0);
    Reset();
}

void LzxDecoder::Reset() {
    m_windowPos = 0;
    m_decoded = 0;
    m_frames = 0;
    m_repeated = {1, 1, 1};
    m_headerRead = false;
    m_callTranslationSize = 0;
    m_callsSeen = false;
    m_callPosition = 0;
    m_blockType = 0;
    m_blockLength = 0;
    m_blockRemaining = 0;
    m_mainLengths.fill(0);
    m_lengthLengths.fill(0);
}

bool LzxDecoder::ReadLengths(Bits& bits, uint8_t* lengths, size_t capacity, size_t first,
                             size_t last) {
    std::array<uint8_t, kPretreeSymbols> pre{};
    for (uint8_t& length : pre)
        length = static_cast<uint8_t>(bits.Read(4));
    Tree pretree;
    if (!pretree.Build(pre.data(), pre.size())) return false;
    // Each length is coded as its change from the block before, modulo 17,
    // or as a run.
    const auto changed = [&](size_t at, int delta) {
        return static_cast<uint8_t>((lengths[at] + 17 - delta) % 17);
    };
    for (size_t at = first; at < last;) {
        const int symbol = pretree.Decode(bits);
        if (symbol < 0 || bits.Overran()) return false;
        size_t run = 1;
        uint8_t value = 0;
        if (symbol == 17) {
            run = bits.Read(4) + 4;
        } else if (symbol == 18) {
            run = bits.Read(5) + 20;
        } else if (symbol == 19) {
            run = bits.Read(1) + 4;
            const int delta = pretree.Decode(bits);
            if (delta < 0 || delta > 16) return false;
            value = changed(at, delta);
        } else {
            value = changed(at, symbol);
        }
        if (run > capacity - at) return false;
        std::fill_n(lengths + at, run, value);
        at += run;
    }
    return true;
}

bool LzxDecoder::ReadBlockHeader(Bits& bits) {
    // An uncompressed block of odd length is followed by one byte of padding.
    if (m_blockType == kUncompressed && (m_blockLength & 1) != 0) bits.SkipByte();
    m_blockType = static_cast<int>(bits.Read(3));
    const uint32_t high = bits.Read(16);  // read in this order: 24 bits, high first
    m_blockLength = (high << 8) | bits.Read(8);
    m_blockRemaining = m_blockLength;
    if (m_blockLength == 0 || bits.Overran()) return false;
    const size_t mainSymbols = 256 + static_cast<size_t>(m_positionSlots) * 8;
    switch (m_blockType) {
        case kAligned: {
            std::array<uint8_t, kAlignedSymbols> aligned{};
            for (uint8_t& length : aligned)
                length = static_cast<uint8_t>(bits.Read(3));
            if (!m_alignedTree.Build(aligned.data(), aligned.size())) return false;
            [[fallthrough]];
        }
        case kVerbatim:
            if (!ReadLengths(bits, m_mainLengths.data(), m_mainLengths.size(), 0, 256) ||
                !ReadLengths(bits, m_mainLengths.data(), m_mainLengths.size(), 256, mainSymbols) ||
                !m_mainTree.Build(m_mainLengths.data(), mainSymbols) || m_mainTree.symbols.empty())
                return false;
            // Call translation applies once the byte 0xE8 can occur.
            if (m_mainLengths[0xE8] != 0) m_callsSeen = true;
            return ReadLengths(bits, m_lengthLengths.data(), m_lengthLengths.size(), 0,
                               kLengthSymbols) &&
                   m_lengthTree.Build(m_lengthLengths.data(), kLengthSymbols);
        case kUncompressed: {
            m_callsSeen = true;
            bits.AlignToWord();
            std::string_view stored;
            if (!bits.ReadBytes(12, stored)) return false;
            for (size_t i = 0; i < 3; ++i) {
                uint32_t value = 0;
                for (size_t b = 4; b-- > 0;)
                    value = (value << 8) | static_cast<unsigned char>(stored[i * 4 + b]);
                m_repeated[i] = value;
            }
            return true;
        }
        default:
            return false;
    }
}

bool LzxDecoder::CopyMatch(uint32_t offset, size_t length) {
    // Only what this stream wrote since its reset, and within the window.
    if (offset == 0 || offset > m_decoded || offset > m_window.size()) return false;
    const size_t size = m_window.size();
    size_t from = (m_windowPos + size - offset) % size;
    for (size_t i = 0; i < length; ++i) {
        m_window[m_windowPos++] = m_window[from];
        from = from + 1 == size ? 0 : from + 1;
    }
    m_decoded += length;
    return true;
}

bool LzxDecoder::DecodeMatches(Bits& bits, size_t run, size_t& overrun) {
    overrun = 0;
    while (run > 0) {
        const int element = m_mainTree.Decode(bits);
        if (element < 0 || bits.Overran()) return false;
        if (element < 256) {
            m_window[m_windowPos++] = static_cast<uint8_t>(element);
            ++m_decoded;
            --run;
            continue;
        }
        size_t length = static_cast<size_t>(element - 256) & 7;
        if (length == 7) {
            const int footer = m_lengthTree.Decode(bits);
            if (footer < 0) return false;
            length += static_cast<size_t>(footer);
        }
        length += kMinMatch;
        // A match may run past the bytes wanted only within its block and its
        // window (the short last frame); the caller sees by how much.
        if (length > run) {
            overrun = length - run;
            if (overrun > m_blockRemaining || m_windowPos + length > m_window.size()) return false;
        }
        const size_t slot = static_cast<size_t>(element - 256) >> 3;
        uint32_t offset = 0;
        if (slot > 2) {
            const int extra = kSlots.extra[slot];
            offset = kSlots.base[slot] - 2;
            if (m_blockType == kAligned && extra >= 3) {
                offset += bits.Read(extra - 3) << 3;
                const int aligned = m_alignedTree.Decode(bits);
                if (aligned < 0) return false;
                offset += static_cast<uint32_t>(aligned);
            } else {
                offset += bits.Read(extra);
            }
            m_repeated = {offset, m_repeated[0], m_repeated[1]};
        } else {
            // The three offsets used last, most recent first.
            offset = m_repeated[slot];
            std::swap(m_repeated[0], m_repeated[slot]);
        }
        if (!CopyMatch(offset, length)) return false;
        run -= std::min(run, length);
    }
    return true;
}

void LzxDecoder::TranslateCalls(std::string& frame) const {
    // x86 CALL targets were stored as absolute positions; turn them back.
    const int64_t fileSize = m_callTranslationSize;
    int64_t position = m_callPosition;
    for (size_t at = 0; at + 10 < frame.size();) {
        if (static_cast<unsigned char>(frame[at]) != 0xE8) {
            ++at;
            ++position;
            continue;
        }
        int32_t absolute = 0;
        for (size_t b = 4; b-- > 0;)
            absolute = static_cast<int32_t>((static_cast<uint32_t>(absolute) << 8) |
                                            static_cast<unsigned char>(frame[at + 1 + b]));
        if (absolute >= -position && absolute < fileSize) {
            const int64_t relative = absolute >= 0 ? absolute - position : absolute + fileSize;
            for (size_t b = 0; b < 4; ++b)
                frame[at + 1 + b] =
                    static_cast<char>((static_cast<uint64_t>(relative) >> (8 * b)) & 0xFF);
        }
        at += 5;
        position += 5;
    }
}

bool LzxDecoder::DecodeFrame(std::string_view input, size_t size, std::string& out) {
    if (m_window.empty() || size == 0 || size > kFrameBytes || m_windowPos + size > m_window.size())
        return false;
    Bits bits(input);
    if (!m_headerRead) {
        m_headerRead = true;
        if (bits.Read(1) != 0) {
            const uint32_t high = bits.Read(16);
            m_callTranslationSize = (high << 16) | bits.Read(16);
        }
    }
    const size_t frameStart = m_windowPos;
    for (size_t todo = size; todo > 0;) {
        if (m_blockRemaining == 0 && !ReadBlockHeader(bits)) return false;
        const size_t run = std::min(m_blockRemaining, todo);
        todo -= run;
        m_blockRemaining -= run;
        if (m_blockType == kUncompressed) {
            std::string_view stored;
            if (!bits.ReadBytes(run, stored)) return false;
            std::copy(stored.begin(), stored.end(),
                      m_window.begin() + static_cast<long>(m_windowPos));
            m_windowPos += run;
            m_decoded += run;
        } else {
            size_t overrun = 0;
            if (!DecodeMatches(bits, run, overrun)) return false;
            m_blockRemaining -= overrun;
        }
    }
    // Only the last frame of the section is short, and its last match may
    // fill the frame's unused rest: the compressor wrote a whole frame.
    const size_t produced = m_windowPos - frameStart;
    if (bits.Overran() || (produced != size && size == kFrameBytes)) return false;
    std::string frame(reinterpret_cast<const char*>(m_window.data()) + frameStart, size);
    // Within the first 32768 frames of a stream that may hold calls.
    if (m_callsSeen && m_callTranslationSize != 0 && size > 10 && m_frames < 32768)
        TranslateCalls(frame);
    ++m_frames;
    if (m_callTranslationSize != 0) m_callPosition += static_cast<int64_t>(size);
    out += frame;
    if (m_windowPos == m_window.size()) m_windowPos = 0;
    return true;
}

}  // namespace pagelark
