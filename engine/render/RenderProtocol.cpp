#include "engine/render/RenderProtocol.h"

#include <charconv>

namespace pagelark {
namespace {

// "R 18446744073709551615 18446744073709551615 4194304" and the line feed.
constexpr size_t kMaxHeaderBytes = 64;

bool KnownType(char type) {
    return type == 'R' || type == 'C' || type == 'D' || type == 'F';
}

// A whole word of decimal digits.
bool ReadNumber(std::string_view word, uint64_t& value) {
    const char* const last = word.data() + word.size();
    const auto [end, error] = std::from_chars(word.data(), last, value);
    return error == std::errc() && !word.empty() && end == last;
}

// "T ticket number length": the type, then three numbers, one blank apart.
bool ReadHeader(std::string_view header, RenderFrame& frame, uint64_t& length) {
    if (header.size() < 2 || header.size() > kMaxHeaderBytes || !KnownType(header[0]) ||
        header[1] != ' ')
        return false;
    uint64_t* const numbers[] = {&frame.ticket, &frame.number, &length};
    std::string_view rest = header.substr(2);
    for (size_t i = 0; i < 3; ++i) {
        const size_t blank = rest.find(' ');
        const bool last = i == 2;
        if (last != (blank == std::string_view::npos)) return false;
        if (!ReadNumber(rest.substr(0, blank), *numbers[i])) return false;
        if (!last) rest.remove_prefix(blank + 1);
    }
    frame.type = static_cast<RenderFrame::Type>(header[0]);
    return true;
}

}  // namespace

std::string EncodeRenderFrame(const RenderFrame& frame) {
    std::string text;
    text.reserve(kMaxHeaderBytes + frame.payload.size());
    text += static_cast<char>(frame.type);
    text += ' ';
    text += std::to_string(frame.ticket);
    text += ' ';
    text += std::to_string(frame.number);
    text += ' ';
    text += std::to_string(frame.payload.size());
    text += '\n';
    text += frame.payload;
    return text;
}

void RenderFrameReader::Feed(std::string_view bytes) {
    if (m_broken) return;
    // What was read goes before new bytes come, so the buffer holds at most
    // one frame and the bytes after it.
    if (m_start > 0) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
    m_buffer.append(bytes);
}

std::optional<RenderFrame> RenderFrameReader::Next() {
    if (m_broken) return std::nullopt;
    const std::string_view rest = std::string_view(m_buffer).substr(m_start);
    const size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) {
        if (rest.size() > kMaxHeaderBytes) m_broken = true;
        return std::nullopt;
    }
    RenderFrame frame;
    uint64_t length = 0;
    if (!ReadHeader(rest.substr(0, lineEnd), frame, length) || length > kMaxRenderPayload) {
        m_broken = true;
        return std::nullopt;
    }
    if (rest.size() - lineEnd - 1 < length) return std::nullopt;
    frame.payload.assign(rest.substr(lineEnd + 1, length));
    m_start += lineEnd + 1 + length;
    return frame;
}

}  // namespace pagelark
