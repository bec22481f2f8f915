#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// A byte string with spare room at both ends. A splice moves whichever side
// of the edit is shorter, so edits near the start cost as little as edits
// near the end: a list whose newest entries go first stays cheap to build.
class SpliceText {
  public:
    std::string_view View() const { return {m_buffer.data() + m_head, m_size}; }
    size_t Size() const { return m_size; }

    void Assign(std::string_view text);
    // Takes the bytes over without copying them and without spare room: the
    // first edit that grows the text makes the room.
    void Adopt(std::string&& text);
    void Clear() { Assign({}); }
    // Makes room for `bytes` more at the front, where a list puts its newest
    // entries, so that adding them does not move the text.
    void ReserveFront(size_t bytes);
    // Replaces count bytes at offset (both already within the text) by `replacement`.
    void Replace(size_t offset, size_t count, std::string_view replacement);

  private:
    void Regrow(size_t offset, size_t count, std::string_view replacement);

    std::string m_buffer;
    size_t m_head = 0;  // where the text starts in the buffer
    size_t m_size = 0;
};

}  // namespace pagelark
