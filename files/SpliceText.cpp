#include "files/SpliceText.h"

#include <cstring>

namespace pagelark {

void SpliceText::Assign(std::string_view text) {
    const size_t room = text.size() / 4 + 64;
    m_buffer.assign(room + text.size() + room, '\0');
    m_head = room;
    m_size = text.size();
    if (!text.empty()) std::memcpy(m_buffer.data() + m_head, text.data(), text.size());
}

void SpliceText::Replace(size_t offset, size_t count, std::string_view replacement) {
    char* const text = m_buffer.data() + m_head;
    const size_t suffix = m_size - offset - count;
    if (offset <= suffix) {
        // Move the part before the edit.
        if (replacement.size() > count && replacement.size() - count > m_head)
            return Regrow(offset, count, replacement);
        char* const start = text + count - static_cast<std::ptrdiff_t>(replacement.size());
        std::memmove(start, text, offset);
        if (!replacement.empty())
            std::memcpy(start + offset, replacement.data(), replacement.size());
        m_head = static_cast<size_t>(start - m_buffer.data());
    } else {
        // Move the part after the edit.
        const size_t tail = m_buffer.size() - m_head - m_size;
        if (replacement.size() > count && replacement.size() - count > tail)
            return Regrow(offset, count, replacement);
        std::memmove(text + offset + replacement.size(), text + offset + count, suffix);
        if (!replacement.empty())
            std::memcpy(text + offset, replacement.data(), replacement.size());
    }
    m_size = m_size - count + replacement.size();
}

void SpliceText::Regrow(size_t offset, size_t count, std::string_view replacement) {
    const std::string_view old = View();
    std::string text;
    text.reserve(old.size() - count + replacement.size());
    text.append(old.substr(0, offset)).append(replacement).append(old.substr(offset + count));
    const size_t room = text.size() / 2 + 64;
    std::string buffer(room + text.size() + room, '\0');
    std::memcpy(buffer.data() + room, text.data(), text.size());
    m_buffer.swap(buffer);
    m_head = room;
    m_size = text.size();
}

}  // namespace pagelark
