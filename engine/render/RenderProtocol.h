#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The argument that starts the program as pagelark-cli's render helper.
inline constexpr const char* kRenderHelperFlag = "--render-helper";

// The frames pagelark-cli and its render helper (`pagelark --render-helper`)
// send each other over one socket. A frame is a header line of four ASCII
// words and a line feed, then as many payload bytes as its last word says:
//
//   R ticket deadline_ms length LF url     render the page at url (to the helper)
//   C ticket 0 0 LF                        forget that render (to the helper)
//   D ticket 0 length LF html              the page's DOM as HTML (from the helper)
//   F ticket kind length LF detail         the render failed (from the helper)
//
// Numbers are decimal without sign. Either side closing its end means it is
// done: the helper then ends, and the program fails what was still open.
struct RenderFrame {
    enum class Type : char { Render = 'R', Cancel = 'C', Done = 'D', Failed = 'F' };
    Type type = Type::Render;
    uint64_t ticket = 0;
    uint64_t number = 0;  // the deadline in ms (Render) or the failure's kind (Failed)
    std::string payload;
};

// The largest payload either side sends or accepts: a rendered page is cut at
// 150000 bytes before it is sent, and URLs longer than this are not rendered.
inline constexpr size_t kMaxRenderPayload = 4 * 1024 * 1024;

std::string EncodeRenderFrame(const RenderFrame& frame);

// Takes the bytes as they arrive, in pieces of any size, and hands out whole
// frames. A stream that breaks the form (an unknown type, a header that is
// not four numbers-and-type words, a payload over the limit) is broken for
// good: nothing more comes out of it.
class RenderFrameReader {
  public:
    void Feed(std::string_view bytes);
    // The next whole frame, or nothing until more bytes come (or for good,
    // once Broken).
    std::optional<RenderFrame> Next();
    bool Broken() const { return m_broken; }

  private:
    std::string m_buffer;
    size_t m_start = 0;  // where the next frame begins in m_buffer
    bool m_broken = false;
};

}  // namespace pagelark
