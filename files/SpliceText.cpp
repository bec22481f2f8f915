#include "files/SpliceText.h"

#include <algorithm>
#include <cstring>

namespace pagelark {

void SpliceText::Assign(std::string_view text) {
    const size_t room = text.size() / 4 + 64;
    m_buffer.assign(room + text.size() + room, '\0');
    m_head = room;
    m_size = text.size();
    if (!text.empty()) std::memcpy(m_buffer.data() + m_head, text.data(), text.size());
}

void SpliceText::Adopt(std::string&& text) {
    m_buffer = std::move(text);
    m_head = 0;
    m_size = m_buffer.size();
}

void SpliceText::ReserveFront(size_t bytes) {
    if (m_head >= bytes) return;
    const size_t tail = m_buffer.size() - m_head - m_size;
    std::string buffer(bytes + m_size + tail, '\0');
    std::memcpy(buffer.data() + bytes, m_buffer.data() + m_head, m_size);
    m_buffer.swap(buffer);
    m_head = bytes;
}

void SpliceText::Replace(size_t offset, size_t count, std::string_view replacement) {
    char* const text = m_buffer.data() + m_head;
    const size_t suffix = m_size - offset - count;
    const size_t tail = m_buffer.size() - m_head - m_size;
    const size_t grows = replacement.size() > count ? replacement.size() - count : 0;
    // The shorter side moves, unless only the other one has the room and
    // moving it costs little (a text still short, room made for a list).
    constexpr size_t kCheapMove = 64 * 1024;
    bool front = offset <= suffix;
    if (grows > (front ? m_head : tail)) {
        if (grows > (front ? tail : m_head) || (front ? suffix : offset) > kCheapMove)
            return Regrow(offset, count, replacement);
        front = !front;
    }
    if (front) {
        char* const start = text + count - static_cast<std::ptrdiff_t>(replacement.size());
        std::memmove(start, text, offset);
        if (!replacement.empty())
            std::memcpy(start + offset, replacement.data(), replacement.size());
        m_head = static_cast<size_t>(start - m_buffer.data());
    } else {
        std::memmove(text + offset + replacement.size(), text + offset + count, suffix);
        if (!replacement.empty())
            std::memcpy(text + offset, replacement.data(), replacement.size());
    }
    m_size = m_size - count + replacement.size();
}

void SpliceText::Regrow(size_t offset, size_t count, std::string_view replacement) {
    // Built straight into the new buffer: the text is held twice at most.
    const std::string_view old = View();
    const size_t size = old.size() - count + replacement.size();
    const size_t room = size / 2 + 64;
    // Room made at the front for a list being filled stays.
    const size_t head = std::max(room, m_head);
    std::string buffer(head + size + room, '\0');
    char* const text = buffer.data() + head;
    std::memcpy(text, old.data(), offset);
    if (!replacement.empty()) std::memcpy(text + offset, replacement.data(), replacement.size());
    std::memcpy(text + offset + replacement.size(), old.data() + offset + count,
                old.size() - offset - count);
    m_buffer.swap(buffer);
    m_head = head;
    m_size = size;
}

}  // namespace pagelark
