#include "engine/fetch/PageCharset.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

namespace pagelark {
namespace {

using namespace std::string_literals;

const std::string kZhong = "\xE4\xB8\xAD";  // 中
const std::string kWen = "\xE6\x96\x87";    // 文
const std::string kFffd = "\xEF\xBF\xBD";

TEST(PageCharset, LabelFromContentType) {
    const struct {
        const char* contentType;
        const char* label;
    } cases[] = {{"text/html; charset=gbk", "gbk"},
                 {"text/html;charset=\"UTF-8\"", "UTF-8"},
                 {"text/html; Charset = big5 ; q=1", "big5"},
                 {"text/html; flag; charset=koi8-r", "koi8-r"},
                 {"text/html; xcharset=gbk", ""},
                 {"text/html", ""},
                 {"charset=gbk", ""},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(CharsetFromContentType(c.contentType), c.label) << c.contentType;
}

TEST(PageCharset, LabelFromMeta) {
    const std::string late = std::string(4090, ' ') + "<meta charset=gbk>";
    const struct {
        std::string page;
        const char* label;
    } cases[] = {
        {"<html><meta charset=gbk>", "gbk"},
        {"<META CHARSET='utf-8'/>", "utf-8"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
         "windows-1251"},
        {"<meta content=\"text/html;charset = 'euc-kr'\" http-equiv=content-type>", "euc-kr"},
        {"<meta content=\"text/html; charset=gbk\">", ""},  // not a Content-Type
        {"<!-- <meta charset=gbk> --><meta charset=koi8-r>", "koi8-r"},
        {"<div title='<meta charset=gbk>'><meta charset=big5>", "big5"},
        {"<meta charset=klingon><meta charset=big5>", "big5"},  // unknown labels are passed over
        {"<meta charset=\"gbk", ""},                            // the tag never ends
        {late, ""},                                             // beyond the first 4096 bytes
        {"<p>charset=gbk</p>", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(CharsetFromMeta(c.page), c.label) << c.page;
}

TEST(PageCharset, LabelsAndTheirConverters) {
    const struct {
        const char* label;
        const char* encoding;
    } cases[] = {
        {" GB2312 ", "GBK"},    {"iso-8859-1", "CP1252"}, {"US-ASCII", "CP1252"}, {"utf8", "UTF-8"},
        {"shift_jis", "CP932"}, {"euc-kr", "CP949"},      {"big5", "BIG5-HKSCS"}, {"utf-7", ""},
        {"ucs-4", ""},          {"utf-8//ignore", ""},    {"klingon", ""},        {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(EncodingForLabel(c.label), c.encoding) << c.label;

    // Every converter the labels lead to exists in the C library.
    for (const char* label :
         {"utf-8",        "windows-1252", "gbk",          "gb18030",      "big5",
          "shift_jis",    "euc-jp",       "iso-2022-jp",  "euc-kr",       "windows-874",
          "windows-1250", "windows-1251", "windows-1253", "windows-1254", "windows-1255",
          "windows-1256", "windows-1257", "windows-1258", "iso-8859-2",   "iso-8859-3",
          "iso-8859-4",   "iso-8859-5",   "iso-8859-6",   "iso-8859-7",   "iso-8859-8",
          "iso-8859-10",  "iso-8859-13",  "iso-8859-14",  "iso-8859-15",  "iso-8859-16",
          "koi8-r",       "koi8-u",       "ibm866",       "macintosh",    "utf-16le",
          "utf-16be"}) {
        const std::string encoding = EncodingForLabel(label);
        ASSERT_FALSE(encoding.empty()) << label;
        const iconv_t cd = iconv_open("UTF-8", encoding.c_str());
        EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << encoding;
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
}

TEST(PageCharset, DecodesToUtf8) {
    const struct {
        std::string bytes;
        const char* contentType;
        std::string text;
    } cases[] = {
        {"\xD6\xD0\xCE\xC4", "text/html; charset=gb2312", kZhong + kWen},
        {"<meta charset=gbk>\xD6\xD0", "text/html", "<meta charset=gbk>" + kZhong},
        {"<meta charset=gbk>\xD6\xD0", "text/html; charset=utf-8",  // the header wins
         "<meta charset=gbk>" + kFffd + kFffd},
        {"caf\xC3\xA9", "", "caf\xC3\xA9"},                // valid UTF-8 stays
        {"caf\xE9 \x80", "", "caf\xC3\xA9 \xE2\x82\xAC"},  // otherwise windows-1252
        {"caf\xE9", "text/html; charset=klingon", "caf\xC3\xA9"},
        {"caf\xC3\xA9", "text/html; charset=klingon", "caf\xC3\xA9"},
        {"caf\xE9", "text/html; charset=iso-8859-1", "caf\xC3\xA9"},
        {"\xEF\xBB\xBF"
         "abc",
         "", "abc"},  // a byte-order mark is not content
        {"\xEF\xBB\xBF"
         "abc",
         "text/html; charset=gbk", "abc"},
        {"\xFF\xFE"
         "a\0b\0"s,
         "", "ab"},
        {"a\0b\0"s, "text/plain; charset=utf-16le", "ab"},
        {"a\xFF"
         "b\xC0\xAF"
         "c\xED\xA0\x80",
         "text/html; charset=utf-8",  // malformed UTF-8
         "a" + kFffd + "b" + kFffd + kFffd + "c" + kFffd + kFffd + kFffd},
        {"\xE4\xB8", "text/html; charset=utf-8", kFffd},
        {"a\xFF"
         "b",
         "text/html; charset=gbk", "a" + kFffd + "b"},  // not convertible
        {"a\x81", "text/html; charset=windows-1252", "a" + kFffd},
        {"\xD6", "text/html; charset=gbk", kFffd},                   // incomplete at the end
        {std::string(2000, ' ') + "<meta charset=gbk>\xD6\xD0", "",  // well past the first KiB
         std::string(2000, ' ') + "<meta charset=gbk>" + kZhong},
        // A page whose meta tag can be read byte by byte is not UTF-16.
        {"<meta charset=utf-16>caf\xC3\xA9", "", "<meta charset=utf-16>caf\xC3\xA9"},
        {"<meta charset=UTF-16BE>caf\xC3\xA9", "", "<meta charset=UTF-16BE>caf\xC3\xA9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodePage(c.bytes, c.contentType, 8192, false), c.text) << c.bytes;
}

// Labels that name a charset browsers read as a wider one: each family with
// a byte sequence the narrow charset would read otherwise (or refuse).
TEST(PageCharset, LabelsReadAsTheWiderCharset) {
    const std::string euro = "\xE2\x82\xAC";
    const struct {
        std::vector<const char*> labels;
        std::string bytes;
        std::string text;
    } families[] = {
        {{"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "cp819", "ibm819", "us-ascii",
          "ascii", "ansi_x3.4-1968"},
         "\x80",
         euro},  // windows-1252
        {{"gb2312", "gb_2312", "gb_2312-80", "csgb2312", "chinese"},
         "\x81\x40",
         "\xE4\xB8\x82"},                                               // GBK 丂
        {{"big5", "cn-big5", "x-x-big5"}, "\x88\x40", "\xE3\x87\x80"},  // HKSCS
        {{"shift_jis", "shift-jis", "sjis", "x-sjis", "ms_kanji"},
         "\x87\x40",
         "\xE2\x91\xA0"},                                                      // Windows-31J ①
        {{"euc-kr", "ks_c_5601-1987", "korean"}, "\x81\x41", "\xEA\xB0\x82"},  // UHC 갂
        {{"tis-620", "iso-8859-11"}, "\x80", euro},                            // windows-874
        {{"iso-8859-9", "latin5"}, "\x80", euro},                              // windows-1254
        {{"utf-16"}, "a\0"s, "a"},                                             // little-endian
    };
    for (const auto& family : families) {
        for (const char* label : family.labels) {
            EXPECT_EQ(
                DecodePage(family.bytes, std::string("text/html; charset=") + label, 1000, false),
                family.text)
                << label;
        }
    }
}

TEST(PageCharset, CutsInputAndOutput) {
    // An incomplete character at the end of a cut download is dropped, and
    // does not make the page count as invalid UTF-8.
    EXPECT_EQ(DecodePage("ab" + kZhong.substr(0, 2), "", 1000, true), "ab");
    EXPECT_EQ(DecodePage("\xD6\xD0\xD6", "text/html; charset=gbk", 1000, true), kZhong);
    // The text is cut at the limit on a character boundary.
    EXPECT_EQ(DecodePage("\xD6\xD0\xCE\xC4", "text/html; charset=gbk", 5, false), kZhong);
    EXPECT_EQ(DecodePage("\xD6\xD0\xCE\xC4", "text/html; charset=gbk", 2, false), "");
    EXPECT_EQ(DecodePage("abc", "", 0, false), "");
}

}  // namespace
}  // namespace pagelark
