#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The LZX decompressor of a compiled help file's compressed section. The
// section is a run of 32 KB frames; the decoder keeps its window and its
// trees from one frame to the next until the stream resets. Every length,
// offset and code it reads is checked: damaged data gives false, never a read
// or write outside its buffers, and the work per frame is bounded.
namespace pagelark {

class LzxDecoder {
  public:
    static constexpr size_t kFrameBytes = 0x8000;

    // windowBits: 15 to 21 (a window of 32 KB to 2 MB); others give a decoder
    // whose every frame fails.
    explicit LzxDecoder(int windowBits);

    // Forgets everything, as the stream does at each reset point.
    void Reset();

    // Decodes the next frame, `size` bytes (1 to kFrameBytes), from `input`,
    // the frame's compressed bytes, and appends it to `out`. False when the
    // data do not hold together; Reset before the next frame then.
    bool DecodeFrame(std::string_view input, size_t size, std::string& out);

  private:
    class Bits;
    // A canonical Huffman code: how many codes each length has, and the
    // symbols in code order.
    struct Tree {
        std::array<uint16_t, 17> count{};
        std::vector<uint16_t> symbols;
        bool Build(const uint8_t* lengths, size_t n);
        int Decode(Bits& bits) const;  // -1 for a code the tree lacks
    };

    bool ReadBlockHeader(Bits& bits);
    bool ReadLengths(Bits& bits, uint8_t* lengths, size_t capacity, size_t first, size_t last);
    bool DecodeMatches(Bits& bits, size_t run, size_t& overrun);
    bool CopyMatch(uint32_t offset, size_t length);
    void TranslateCalls(std::string& frame) const;

    static constexpr size_t kMaxMainSymbols = 256 + 50 * 8;
    static constexpr size_t kLengthSymbols = 249;
    static constexpr size_t kSafety = 64;  // room for a run of lengths past the end

    int m_positionSlots = 0;
    std::vector<uint8_t> m_window;
    size_t m_windowPos = 0;
    uint64_t m_decoded = 0;  // bytes since the last reset
    uint64_t m_frames = 0;   // frames since the last reset
    std::array<uint32_t, 3> m_repeated{1, 1, 1};
    bool m_headerRead = false;
    uint32_t m_callTranslationSize = 0;
    bool m_callsSeen = false;
    int64_t m_callPosition = 0;
    int m_blockType = 0;
    size_t m_blockLength = 0;
    size_t m_blockRemaining = 0;
    std::array<uint8_t, kMaxMainSymbols + kSafety> m_mainLengths{};
    std::array<uint8_t, kLengthSymbols + kSafety> m_lengthLengths{};
    Tree m_mainTree;
    Tree m_lengthTree;
    Tree m_alignedTree;
};

}  // namespace pagelark
