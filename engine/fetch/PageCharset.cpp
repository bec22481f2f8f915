#include "engine/fetch/PageCharset.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <type_traits>

#include "engine/page/TextBytes.h"
#include "engine/page/Utf8.h"

namespace pagelark {

namespace {

constexpr size_t kMetaScanBytes = 4096;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Labels as browsers know them, mapped to glibc converter names. Only these
// are converted: handing any label to iconv would let a page pick encodings
// such as UTF-7 or EBCDIC that no web page is written in.
struct LabelEntry {
    std::string_view label;
    std::string_view encoding;
};
constexpr LabelEntry kLabels[] = {
    {"utf-8", "UTF-8"},
    {"utf8", "UTF-8"},
    {"unicode-1-1-utf-8", "UTF-8"},
    {"x-unicode20utf8", "UTF-8"},
    // Browsers read Latin-1 and ASCII labels as windows-1252, and pages
    // labelled so use its extra characters freely.
    {"windows-1252", "CP1252"},
    {"cp1252", "CP1252"},
    {"x-cp1252", "CP1252"},
    {"iso-8859-1", "CP1252"},
    {"iso8859-1", "CP1252"},
    {"iso_8859-1", "CP1252"},
    {"latin1", "CP1252"},
    {"l1", "CP1252"},
    {"cp819", "CP1252"},
    {"ibm819", "CP1252"},
    {"us-ascii", "CP1252"},
    {"ascii", "CP1252"},
    {"ansi_x3.4-1968", "CP1252"},
    // GBK is a superset of GB2312, which pages rarely keep to.
    {"gbk", "GBK"},
    {"gb2312", "GBK"},
    {"gb_2312", "GBK"},
    {"gb_2312-80", "GBK"},
    {"x-gbk", "GBK"},
    {"cp936", "GBK"},
    {"chinese", "GBK"},
    {"csgb2312", "GBK"},
    {"gb18030", "GB18030"},
    {"big5", "BIG5-HKSCS"},
    {"big5-hkscs", "BIG5-HKSCS"},
    {"cn-big5", "BIG5-HKSCS"},
    {"x-x-big5", "BIG5-HKSCS"},
    {"shift_jis", "CP932"},
    {"shift-jis", "CP932"},
    {"sjis", "CP932"},
    {"x-sjis", "CP932"},
    {"ms_kanji", "CP932"},
    {"windows-31j", "CP932"},
    {"euc-jp", "EUC-JP"},
    {"x-euc-jp", "EUC-JP"},
    {"iso-2022-jp", "ISO-2022-JP"},
    {"euc-kr", "CP949"},
    {"ks_c_5601-1987", "CP949"},
    {"windows-949", "CP949"},
    {"korean", "CP949"},
    {"windows-874", "CP874"},
    {"tis-620", "CP874"},
    {"iso-8859-11", "CP874"},
    {"iso-8859-9", "CP1254"},
    {"latin5", "CP1254"},
    {"windows-1250", "CP1250"},
    {"cp1250", "CP1250"},
    {"windows-1251", "CP1251"},
    {"cp1251", "CP1251"},
    {"windows-1253", "CP1253"},
    {"cp1253", "CP1253"},
    {"windows-1254", "CP1254"},
    {"cp1254", "CP1254"},
    {"windows-1255", "CP1255"},
    {"cp1255", "CP1255"},
    {"windows-1256", "CP1256"},
    {"cp1256", "CP1256"},
    {"windows-1257", "CP1257"},
    {"cp1257", "CP1257"},
    {"windows-1258", "CP1258"},
    {"cp1258", "CP1258"},
    {"iso-8859-2", "ISO-8859-2"},
    {"latin2", "ISO-8859-2"},
    {"iso-8859-3", "ISO-8859-3"},
    {"iso-8859-4", "ISO-8859-4"},
    {"iso-8859-5", "ISO-8859-5"},
    {"iso-8859-6", "ISO-8859-6"},
    {"iso-8859-7", "ISO-8859-7"},
    {"greek", "ISO-8859-7"},
    {"iso-8859-8", "ISO-8859-8"},
    {"iso-8859-8-i", "ISO-8859-8"},
    {"hebrew", "ISO-8859-8"},
    {"iso-8859-10", "ISO-8859-10"},
    {"iso-8859-13", "ISO-8859-13"},
    {"iso-8859-14", "ISO-8859-14"},
    {"iso-8859-15", "ISO-8859-15"},
    {"latin9", "ISO-8859-15"},
    {"iso-8859-16", "ISO-8859-16"},
    {"koi8-r", "KOI8-R"},
    {"koi8", "KOI8-R"},
    {"koi8-u", "KOI8-U"},
    {"ibm866", "CP866"},
    {"cp866", "CP866"},
    {"macintosh", "MACINTOSH"},
    {"x-mac-roman", "MACINTOSH"},
    {"utf-16", "UTF-16LE"},
    {"utf-16le", "UTF-16LE"},
    {"utf-16be", "UTF-16BE"},
};

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool StartsWithIgnoreCase(std::string_view text, size_t at, std::string_view prefix) {
    return at <= text.size() && text.size() - at >= prefix.size() &&
           EqualsIgnoreCase(text.substr(at, prefix.size()), prefix);
}

// Appends the UTF-8 bytes of `text`, each malformed sequence replaced by one
// U+FFFD (the longest valid prefix of a sequence counts as one). A sequence
// left incomplete by the end of the text is dropped when the input was cut.
// Returns whether the text was valid UTF-8 (an incomplete end of a cut input
// does not count against it).
bool AppendCleanUtf8(std::string_view text, bool inputCut, std::string& out) {
    bool valid = true;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        size_t need = 0;
        unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            if (lead == 0xE0) low = 0xA0;   // no overlong forms
            if (lead == 0xED) high = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        }
        size_t j = i + 1;
        bool complete = need > 0;
        for (size_t k = 0; complete && k < need; ++k, ++j) {
            if (j == text.size()) {
                if (inputCut) return valid;
                complete = false;
                break;
            }
            const unsigned char c = static_cast<unsigned char>(text[j]);
            if (c < low || c > high) {
                complete = false;
                break;
            }
            low = 0x80;
            high = 0xBF;
        }
        if (complete) {
            out.append(text.substr(i, j - i));
        } else {
            out.append(kReplacement);
            valid = false;
            if (need == 0) j = i + 1;
        }
        i = j;
    }
    return valid;
}

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// Converts with glibc iconv; bytes it refuses become U+FFFD one at a time, so
// the converter resynchronises on the next byte.
std::string Convert(std::string_view text, const std::string& encoding, bool inputCut) {
    const iconv_t raw = iconv_open("UTF-8", encoding.c_str());
    if (raw == reinterpret_cast<iconv_t>(-1)) {
        std::string out;
        AppendCleanUtf8(text, inputCut, out);
        return out;
    }
    const IconvHandle cd(raw);
    std::string out;
    out.reserve(text.size() * 3 + 16);
    char* in = const_cast<char*>(text.data());  // iconv does not write its input
    size_t inLeft = text.size();
    char chunk[4096];
    const auto step = [&](char** src, size_t* srcLeft) {
        char* dst = chunk;
        size_t dstLeft = sizeof chunk;
        const size_t result = iconv(cd.get(), src, srcLeft, &dst, &dstLeft);
        const int error = result == static_cast<size_t>(-1) ? errno : 0;
        out.append(chunk, sizeof chunk - dstLeft);
        return error;
    };
    while (inLeft > 0) {
        const int error = step(&in, &inLeft);
        if (error == EILSEQ) {
            out.append(kReplacement);
            ++in;
            --inLeft;
        } else if (error == EINVAL) {  // an incomplete character ends the input
            if (!inputCut) out.append(kReplacement);
            break;
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
    while (step(nullptr, nullptr) == E2BIG) {
    }
    // Whatever the converter produced, the caller gets well-formed UTF-8.
    std::string clean;
    clean.reserve(out.size());
    AppendCleanUtf8(out, false, clean);
    return clean;
}

// Reads one attribute of a tag at `pos` (after the tag name), the way
// browsers' pre-scan does. Returns false at the end of the tag or when the
// tag runs past the scanned bytes.
bool NextAttribute(std::string_view text, size_t& pos, std::string& name, std::string& value,
                   bool& tagEnded) {
    name.clear();
    value.clear();
    tagEnded = false;
    while (pos < text.size() && (IsAsciiSpace(text[pos]) || text[pos] == '/'))
        ++pos;
    if (pos >= text.size()) return false;
    if (text[pos] == '>') {
        ++pos;
        tagEnded = true;
        return false;
    }
    while (pos < text.size() && text[pos] != '=' && text[pos] != '>' && text[pos] != '/' &&
           !IsAsciiSpace(text[pos])) {
        name.push_back(LowerAscii(text[pos]));
        ++pos;
    }
    while (pos < text.size() && IsAsciiSpace(text[pos]))
        ++pos;
    if (pos >= text.size()) return false;
    if (text[pos] != '=') return true;  // an attribute without a value
    ++pos;
    while (pos < text.size() && IsAsciiSpace(text[pos]))
        ++pos;
    if (pos >= text.size()) return false;
    if (text[pos] == '"' || text[pos] == '\'') {
        const size_t close = text.find(text[pos], pos + 1);
        if (close == std::string_view::npos) return false;
        value.assign(text.substr(pos + 1, close - pos - 1));
        pos = close + 1;
        return true;
    }
    while (pos < text.size() && text[pos] != '>' && !IsAsciiSpace(text[pos])) {
        value.push_back(text[pos]);
        ++pos;
    }
    return pos < text.size();
}

// The charset named inside a meta content value ("text/html; charset=x").
std::string CharsetInMetaContent(std::string_view content) {
    size_t pos = 0;
    while (pos < content.size()) {
        size_t at = std::string_view::npos;
        for (size_t i = pos; i + 7 <= content.size(); ++i) {
            if (StartsWithIgnoreCase(content, i, "charset")) {
                at = i;
                break;
            }
        }
        if (at == std::string_view::npos) return {};
        pos = at + 7;
        while (pos < content.size() && IsAsciiSpace(content[pos]))
            ++pos;
        if (pos >= content.size() || content[pos] != '=') continue;
        ++pos;
        while (pos < content.size() && IsAsciiSpace(content[pos]))
            ++pos;
        if (pos >= content.size()) return {};
        if (content[pos] == '"' || content[pos] == '\'') {
            const size_t close = content.find(content[pos], pos + 1);
            if (close == std::string_view::npos) return {};
            return std::string(content.substr(pos + 1, close - pos - 1));
        }
        size_t end = pos;
        while (end < content.size() && content[end] != ';' && !IsAsciiSpace(content[end]))
            ++end;
        return std::string(content.substr(pos, end - pos));
    }
    return {};
}

// The label one meta tag declares, or empty.
std::string MetaLabel(std::string_view text, size_t& pos) {
    std::string name, value, charset, content;
    bool haveCharset = false, haveContent = false, haveEquiv = false, isContentType = false;
    bool ended = false;
    while (NextAttribute(text, pos, name, value, ended)) {
        if (name == "charset" && !haveCharset) {
            haveCharset = true;
            charset = value;
        } else if (name == "content" && !haveContent) {
            haveContent = true;
            content = value;
        } else if (name == "http-equiv" && !haveEquiv) {
            haveEquiv = true;
            isContentType = EqualsIgnoreCase(value, "content-type");
        }
    }
    if (!ended) return {};  // the tag does not end inside the scanned bytes
    if (haveCharset) return charset;
    if (isContentType && haveContent) return CharsetInMetaContent(content);
    return {};
}

bool IsTagNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string CharsetFromContentType(std::string_view contentType) {
    size_t pos = contentType.find(';');
    while (pos < contentType.size()) {
        ++pos;  // past the ';'
        size_t end = pos;
        while (end < contentType.size() && contentType[end] != ';' && contentType[end] != '=')
            ++end;
        if (end == contentType.size()) break;
        if (contentType[end] == ';') {  // a parameter without a value
            pos = end;
            continue;
        }
        const bool isCharset =
            EqualsIgnoreCase(TrimSpace(contentType.substr(pos, end - pos)), "charset");
        size_t start = end + 1;
        while (start < contentType.size() && IsAsciiSpace(contentType[start]))
            ++start;
        std::string value;
        end = start;
        if (start < contentType.size() && contentType[start] == '"') {
            for (end = start + 1; end < contentType.size() && contentType[end] != '"'; ++end) {
                if (contentType[end] == '\\' && end + 1 < contentType.size()) ++end;
                value.push_back(contentType[end]);
            }
        } else {
            while (end < contentType.size() && contentType[end] != ';')
                ++end;
            value.assign(TrimSpace(contentType.substr(start, end - start)));
        }
        if (isCharset) return value;
        pos = contentType.find(';', end);
    }
    return {};
}

std::string CharsetFromMeta(std::string_view page) {
    const std::string_view text = page.substr(0, kMetaScanBytes);
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '<') {
            ++pos;
            continue;
        }
        if (text.substr(pos, 4) == "<!--") {
            const size_t close = text.find("-->", pos + 2);
            if (close == std::string_view::npos) break;
            pos = close + 3;
        } else if (StartsWithIgnoreCase(text, pos, "<meta") && pos + 5 < text.size() &&
                   (IsAsciiSpace(text[pos + 5]) || text[pos + 5] == '/')) {
            pos += 5;
            const std::string label = MetaLabel(text, pos);
            if (!EncodingForLabel(label).empty()) return label;
        } else if (pos + 1 < text.size() && (IsTagNameStart(text[pos + 1]) ||
                                             (text[pos + 1] == '/' && pos + 2 < text.size() &&
                                              IsTagNameStart(text[pos + 2])))) {
            // Other tags: step over their attributes so that a '>' or a
            // "<meta" inside a quoted value is not taken for markup.
            pos += 1;
            while (pos < text.size() && !IsAsciiSpace(text[pos]) && text[pos] != '>')
                ++pos;
            std::string name, value;
            bool ended = false;
            while (NextAttribute(text, pos, name, value, ended)) {
            }
            if (!ended) break;
        } else if (pos + 1 < text.size() &&
                   (text[pos + 1] == '!' || text[pos + 1] == '/' || text[pos + 1] == '?')) {
            const size_t close = text.find('>', pos + 1);
            if (close == std::string_view::npos) break;
            pos = close + 1;
        } else {
            ++pos;
        }
    }
    return {};
}

std::string EncodingForLabel(std::string_view label) {
    const std::string_view trimmed = TrimSpace(label);
    for (const LabelEntry& entry : kLabels) {
        if (EqualsIgnoreCase(trimmed, entry.label)) return std::string(entry.encoding);
    }
    return {};
}

std::string DecodePage(std::string_view bytes, std::string_view contentType, size_t maxBytes,
                       bool inputCut) {
    std::string encoding;
    // A byte-order mark outranks any label, as in browsers; it is not content.
    if (bytes.starts_with(kUtf8Bom)) {
        encoding = "UTF-8";
        bytes.remove_prefix(kUtf8Bom.size());
    } else if (bytes.starts_with("\xFF\xFE")) {
        encoding = "UTF-16LE";
        bytes.remove_prefix(2);
    } else if (bytes.starts_with("\xFE\xFF")) {
        encoding = "UTF-16BE";
        bytes.remove_prefix(2);
    }
    if (encoding.empty()) encoding = EncodingForLabel(CharsetFromContentType(contentType));
    if (encoding.empty()) {
        encoding = EncodingForLabel(CharsetFromMeta(bytes));
        // A page whose meta tag can be read byte by byte is not UTF-16.
        if (encoding.starts_with("UTF-16")) encoding = "UTF-8";
    }

    std::string text;
    if (encoding.empty() || encoding == "UTF-8") {
        text.reserve(bytes.size());
        if (!AppendCleanUtf8(bytes, inputCut, text) && encoding.empty())
            text = Convert(bytes, "CP1252", inputCut);
    } else {
        text = Convert(bytes, encoding, inputCut);
    }
    if (text.starts_with(kUtf8Bom)) text.erase(0, kUtf8Bom.size());
    text.resize(Utf8PrefixLength(text, maxBytes));
    return text;
}

}  // namespace pagelark
