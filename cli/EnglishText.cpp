#include "cli/EnglishText.h"

#include <charconv>
#include <string_view>

namespace pagelark::cli {

extern const char kStringTable[];

namespace {

// "id<TAB>English|Simplified|Traditional": the English piece, unescaped.
std::string EnglishPiece(std::string_view text) {
    std::string piece;
    for (size_t i = 0; i < text.size() && text[i] != '|'; ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            piece += text[i];
            continue;
        }
        const char next = text[++i];
        piece += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return piece;
}

}  // namespace

std::string EnglishText(int id) {
    std::string_view table(kStringTable);
    while (!table.empty()) {
        const size_t end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t tab = line.find('\t');
        int number = 0;
        if (tab == std::string_view::npos ||
            std::from_chars(line.data(), line.data() + tab, number).ptr != line.data() + tab ||
            number != id)
            continue;
        return EnglishPiece(line.substr(tab + 1));
    }
    return {};
}

std::string ReasonInEnglish(const RowReason& reason) {
    switch (reason.kind) {
        // The window's texts for these stand alone as sentences.
        case RowReason::Kind::RenderTimeout:
            return "the page did not finish loading in time";
        case RowReason::Kind::RenderScheme:
            return "refused: only http and https pages are rendered";
        case RowReason::Kind::RenderFailed:
            return reason.detail;
        default:
            return ReasonWords(reason, EnglishText(KindInfo(reason.kind).stringId));
    }
}

bool IsRenderReason(const RowReason& reason) {
    return reason.kind == RowReason::Kind::RenderTimeout ||
           reason.kind == RowReason::Kind::RenderScheme ||
           reason.kind == RowReason::Kind::RenderFailed;
}

}  // namespace pagelark::cli
