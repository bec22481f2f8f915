#include "report/model/ColorTable.h"

#include <cstddef>
#include <new>

namespace pagelark {

int ColorTable::Insert(int position, uint32_t color) {
    if (position < 0) return -1;
    try {
        const size_t at = static_cast<size_t>(position);
        if (at > m_colors.size()) m_colors.resize(at, 0);
        m_colors.insert(m_colors.begin() + position, color);
        return BuildPalette() ? position : -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

uint32_t ColorTable::At(int index, uint32_t fallback) const {
    return index >= 0 && index < Size() ? m_colors[static_cast<size_t>(index)] : fallback;
}

bool ColorTable::SetBitmapColors(std::vector<uint32_t> colors) {
    m_bitmapColors = std::move(colors);
    return BuildPalette();
}

bool ColorTable::BuildPalette() {
    m_palette = Palette{};
    const size_t total = m_colors.size() + m_bitmapColors.size();
    if (total == 0) return false;
    m_palette.exists = true;
    if (total > 256) {
        m_palette.halftone = true;
        return true;
    }
    m_palette.entries = m_colors;
    m_palette.entries.insert(m_palette.entries.end(), m_bitmapColors.begin(), m_bitmapColors.end());
    return true;
}

}  // namespace pagelark
