// The compiled help file reader on the help.chm the build makes, on damaged
// copies of it, and the LZX decoder on a stream written by hand.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/help/ChmFile.h"
#include "app/help/LzxDecoder.h"
#include "tests/support/ReadFile.h"

namespace pagelark {
namespace {

namespace fs = std::filesystem;

// Every page, the contents and the index come back byte for byte: the
// directory, both compressed frames and the reset between them are read
// right.
TEST(ChmFileTest, TheBuiltHelpFileGivesBackItsSources) {
    ChmFile file;
    ASSERT_TRUE(file.Open(PAGELARK_HELP_CHM));
    EXPECT_EQ(file.DefaultTopic(), "/index.html");
    EXPECT_EQ(file.ContentsFile(), "/toc.hhc");
    EXPECT_EQ(file.IndexFile(), "/index.hhk");
    int pages = 0;
    for (const auto& source : fs::directory_iterator(PAGELARK_HELP_SOURCES)) {
        if (source.path().extension() == ".hhp") continue;
        const std::string name = "/" + source.path().filename().string();
        EXPECT_EQ(file.Read(name).value_or("(missing)"), ReadFile(source.path().string())) << name;
        ++pages;
    }
    EXPECT_GE(pages, 10);
    EXPECT_EQ(file.Read("/FILTER.HTML"), file.Read("/filter.html"));  // as links may write it
    EXPECT_FALSE(file.Read("/nothing.html"));
}

// What made the old reader divide by zero or read past its buffers is a file
// that does not open, or a page that cannot be read.
TEST(ChmFileTest, DamagedFilesOpenNotOrReadNothing) {
    const std::string good = ReadFile(PAGELARK_HELP_CHM);
    ChmFile file;
    ASSERT_TRUE(file.Load(good));
    const size_t control = good.find("LZXC");
    ASSERT_NE(control, std::string::npos);
    for (const size_t field : {8, 12}) {  // the reset interval, then the window
        std::string damaged = good;
        damaged[control + field] = 0;
        EXPECT_FALSE(file.Load(damaged)) << field;
    }
    std::string odd = good;
    odd[control + 12] = 3;  // a window of 96 KB: no power of two
    EXPECT_FALSE(file.Load(odd));

    // The second frame given no compressed bytes (its start moved to the
    // section's end): the pages in it cannot be read, the others can.
    // The reset table: version 2, its frame count (as many as the help
    // needs), entry size 8, header size 0x28.
    const std::string version("\2\0\0\0", 4);
    const std::string sizes("\x08\0\0\0\x28\0\0\0", 8);
    size_t table = good.find(sizes);
    while (table != std::string::npos && (table < 8 || good.compare(table - 8, 4, version) != 0))
        table = good.find(sizes, table + 1);
    ASSERT_NE(table, std::string::npos);
    ASSERT_GE(good[table - 4], 2);  // a second frame
    const size_t entries = table - 8 + 0x28;
    std::string lost = good;
    lost.replace(entries + 8, 8, good.substr(entries + 16, 8));
    ASSERT_TRUE(file.Load(lost));
    ChmFile intact;
    ASSERT_TRUE(intact.Load(good));
    int gone = 0;
    int kept = 0;
    for (const std::string& path : intact.Paths()) {
        const auto page = file.Read(path);
        EXPECT_TRUE(!page || page == intact.Read(path)) << path;
        ++(page ? kept : gone);
    }
    EXPECT_GT(gone, 0);
    EXPECT_GT(kept, 0);

    EXPECT_FALSE(file.Load(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(file.Load("ITSF"));
    EXPECT_FALSE(file.Open("/nonexistent/help.chm"));
    EXPECT_FALSE(file.IsOpen());
}

// An uncompressed block, which the build's compiler never writes: after the
// block header the stream skips to the next 16-bit word and holds the three
// repeated offsets and the bytes as they are.
TEST(LzxDecoderTest, UncompressedBlocksCarryTheirBytes) {
    std::string stream;
    uint32_t word = 0;
    int used = 0;
    const auto put = [&](uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            word = (word << 1) | ((value >> i) & 1);
            if (++used == 16) {
                stream += static_cast<char>(word & 0xFF);
                stream += static_cast<char>(word >> 8);
                word = 0;
                used = 0;
            }
        }
    };
    put(0, 1);   // no call translation
    put(3, 3);   // uncompressed
    put(0, 16);  // length 5, 24 bits
    put(5, 8);
    put(0, 16 - used);  // to the next word
    stream += std::string("\1\0\0\0\1\0\0\0\1\0\0\0", 12);
    stream += "hello";
    LzxDecoder decoder(16);
    std::string out;
    ASSERT_TRUE(decoder.DecodeFrame(stream, 5, out));
    EXPECT_EQ(out, "hello");

    decoder.Reset();
    EXPECT_FALSE(decoder.DecodeFrame(stream.substr(0, stream.size() - 2), 5, out));
    EXPECT_FALSE(LzxDecoder(22).DecodeFrame(stream, 5, out));
}

}  // namespace
}  // namespace pagelark
