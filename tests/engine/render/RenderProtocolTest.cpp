#include "engine/render/RenderProtocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace pagelark {
namespace {

using namespace std::string_literals;
using Type = RenderFrame::Type;

std::vector<RenderFrame> ReadAll(RenderFrameReader& reader) {
    std::vector<RenderFrame> frames;
    while (std::optional<RenderFrame> frame = reader.Next())
        frames.push_back(std::move(*frame));
    return frames;
}

TEST(RenderProtocol, FramesComeOutWholeHoweverTheBytesArrive) {
    const std::vector<RenderFrame> sent = {
        {Type::Render, 1, 120000, "http://127.0.0.1:8080/a b"},
        {Type::Cancel, 2, 0, ""},
        {Type::Done, 18446744073709551615u, 0, "<html>\n<p>a\0b</p>\r\nF 1 2 3\n</html>"s},
        {Type::Failed, 4, 2, "the page could not be loaded"},
    };
    std::string stream;
    for (const RenderFrame& frame : sent)
        stream += EncodeRenderFrame(frame);
    EXPECT_TRUE(stream.starts_with("R 1 120000 25\nhttp://"));

    for (const size_t piece : {stream.size(), size_t{1}, size_t{7}}) {
        SCOPED_TRACE(piece);
        RenderFrameReader reader;
        std::vector<RenderFrame> got;
        for (size_t at = 0; at < stream.size(); at += piece) {
            reader.Feed(std::string_view(stream).substr(at, piece));
            for (RenderFrame& frame : ReadAll(reader))
                got.push_back(std::move(frame));
        }
        ASSERT_EQ(got.size(), sent.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(got[i].type, sent[i].type);
            EXPECT_EQ(got[i].ticket, sent[i].ticket);
            EXPECT_EQ(got[i].number, sent[i].number);
            EXPECT_EQ(got[i].payload, sent[i].payload);
        }
        EXPECT_FALSE(reader.Broken());
    }
}

TEST(RenderProtocol, AStreamThatBreaksTheFormGivesNothingMore) {
    const std::string good = EncodeRenderFrame({Type::Done, 7, 0, "ok"});
    const std::string bad[] = {
        "X 1 0 0\n",
        "D 1 0\n",
        "D 1 0 2 \nok",
        "D  1 0 2\nok",
        "D -1 0 2\nok",
        "D 1 0 +2\nok",
        "D 1 0 2x\nok",
        "D1 0 2\nok",
        "D 99999999999999999999 0 0\n",
        "D 1 0 4194305\n",
        std::string(65, '1'),
    };
    for (const std::string& broken : bad) {
        SCOPED_TRACE(broken.substr(0, 20));
        RenderFrameReader reader;
        reader.Feed(good + broken + good);
        const std::vector<RenderFrame> frames = ReadAll(reader);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].payload, "ok");
        EXPECT_TRUE(reader.Broken());
        reader.Feed(good);
        EXPECT_FALSE(reader.Next().has_value());
    }
}

}  // namespace
}  // namespace pagelark
