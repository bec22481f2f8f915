#include "engine/suggest/ShownWords.h"

#include <array>
#include <string>

#include "engine/page/FlatText.h"
#include "engine/page/FlattenPage.h"
#include "engine/page/LinkMarkers.h"
#include "engine/page/TagScan.h"
#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

// Byte 0x1F is the one control byte flattening keeps, so a word made of it
// survives into the text; blanks around it keep the page's words as they are,
// since it is only ever put beside a tag, which is a blank already.
constexpr char kOpen[] = " \x1F( ";
constexpr char kClose[] = " \x1F) ";
constexpr std::string_view kOpenWord = "\x1F(";
constexpr std::string_view kCloseWord = "\x1F)";

constexpr std::array<std::string_view, 4> kUnshown{"script", "style", "title", "template"};

// Link markers play no part in the words (they are stripped); one number
// for all of them keeps the links out of the item's numbering.
class UnnumberedLinks : public LinkRecorder {
  public:
    std::string Record(std::string, size_t maxMarkerBytes) override {
        const std::string marker = OpeningMarker(0);
        return marker.size() <= maxMarkerBytes ? marker : std::string();
    }
};

// The element name of kUnshown that the tag at `lt` opens ("<script ..."), if any.
std::string_view UnshownOpening(std::string_view page, size_t lt) {
    for (const std::string_view name : kUnshown) {
        const size_t end = lt + 1 + name.size();
        if (end >= page.size() || !EqualsIgnoreCase(page.substr(lt + 1, name.size()), name))
            continue;
        const unsigned char next = static_cast<unsigned char>(page[end]);
        if (IsBlank(next) || next == '>' || next == '/') return name;
    }
    return {};
}

// Where "</name" starts at or after `from`, ignoring case, or npos.
size_t FindClosing(std::string_view page, std::string_view name, size_t from) {
    for (size_t lt = page.find("</", from); lt != std::string_view::npos;
         lt = page.find("</", lt + 2)) {
        if (EqualsIgnoreCase(page.substr(lt + 2, name.size()), name)) return lt;
    }
    return std::string_view::npos;
}

// The page with kOpen after the opening tag and kClose before the closing tag
// of each element a browser does not show. Where flattening reads one of them
// inside a tag (a "<" in a script can open a long tag), it is lost, and the
// pairing below leaves that stretch shown.
std::string MarkUnshown(std::string_view page) {
    std::string marked;
    marked.reserve(page.size() + 256);
    size_t copied = 0;
    for (size_t lt = page.find('<'); lt != std::string_view::npos; lt = page.find('<', lt + 1)) {
        const std::string_view name = UnshownOpening(page, lt);
        if (name.empty()) continue;
        const size_t gt = FindTagEnd(page, lt);
        if (gt == std::string_view::npos) break;
        marked.append(page.substr(copied, gt + 1 - copied));
        marked.append(kOpen);
        copied = gt + 1;
        const size_t closing = FindClosing(page, name, copied);
        if (closing == std::string_view::npos) break;
        marked.append(page.substr(copied, closing - copied));
        marked.append(kClose);
        copied = closing;
        lt = closing;
    }
    marked.append(page.substr(copied));
    return marked;
}

}  // namespace

std::vector<char> ShownWords(std::string_view page, std::string_view baseUrl, size_t wordCount) {
    if (page.find('\x1F') != std::string_view::npos) return {};
    const std::string marked = MarkUnshown(page);
    if (marked.size() == page.size()) return std::vector<char>(wordCount, 1);

    std::string flat(2 * marked.size() + 64, '\0');
    size_t length = 0;
    UnnumberedLinks links;
    if (!FlattenPage(marked.data(), marked.size(), flat.data(), flat.size(), length, baseUrl,
                     links))
        return {};
    flat.resize(length);
    const std::string text = StripMarkers(flat);

    std::vector<char> shown;
    shown.reserve(wordCount);
    size_t openedAt = 0;  // words before the last open mark
    bool open = false;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t start = i;
        while (i < text.size() && !IsBlank(static_cast<unsigned char>(text[i])))
            ++i;
        if (start == i) break;
        const std::string_view word(text.data() + start, i - start);
        if (word == kOpenWord) {
            open = true;  // an open mark whose close was lost leaves its words shown
            openedAt = shown.size();
        } else if (word == kCloseWord) {
            if (open) std::fill(shown.begin() + static_cast<long>(openedAt), shown.end(), 0);
            open = false;
        } else {
            shown.push_back(1);
        }
    }
    if (shown.size() != wordCount) return {};
    return shown;
}

}  // namespace pagelark
