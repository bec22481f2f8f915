#pragma once

#include <cstdint>
#include <vector>

namespace pagelark {

// Colours addressed by the rows' text and background colour indexes, and the
// palette built from them and from the background bitmap's colours.
class ColorTable {
  public:
    struct Palette {
        bool exists = false;
        bool halftone = false;          // more than 256 colours in all
        std::vector<uint32_t> entries;  // empty for the halftone palette
    };

    // Inserts at position (0 or more); a position past the end pads with black.
    // Returns the position, or -1 when out of memory or when no palette results.
    int Insert(int position, uint32_t color);
    int Size() const { return static_cast<int>(m_colors.size()); }
    // The colour at index, or fallback when the index is not in the table.
    uint32_t At(int index, uint32_t fallback) const;

    // The background bitmap's own colour table (empty: no bitmap); rebuilds the palette.
    bool SetBitmapColors(std::vector<uint32_t> colors);
    const Palette& GetPalette() const { return m_palette; }

  private:
    bool BuildPalette();

    std::vector<uint32_t> m_colors;
    std::vector<uint32_t> m_bitmapColors;
    Palette m_palette;
};

}  // namespace pagelark
