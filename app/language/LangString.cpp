#include "app/language/LangString.h"

#include "app/language/UiLanguage.h"
#include "controls/platform/Resources.h"

namespace pagelark {

std::string LanguagePiece(std::string_view entry, int language) {
    // '|' never occurs inside a UTF-8 multi-byte character, so a byte search
    // finds only real separators.
    const std::size_t p1 = entry.find('|');
    if (p1 == std::string_view::npos) return std::string(entry);
    const std::string_view english = entry.substr(0, p1);

    const std::size_t p2 = entry.find('|', p1 + 1);
    if (language == kLanguageSimplified) {
        const std::size_t end = p2 == std::string_view::npos ? entry.size() : p2;
        return std::string(entry.substr(p1 + 1, end - p1 - 1));
    }
    if (language == kLanguageTraditional && p2 != std::string_view::npos) {
        const std::size_t p3 = entry.find('|', p2 + 1);
        const std::size_t end = p3 == std::string_view::npos ? entry.size() : p3;
        return std::string(entry.substr(p2 + 1, end - p2 - 1));
    }
    return std::string(english);
}

std::string LangString(int id) {
    const auto entry = LoadString(id);
    if (!entry) return std::string();
    return LanguagePiece(*entry, UiLanguage);
}

QString LangText(int id) {
    return QString::fromUtf8(LangString(id));
}

}  // namespace pagelark
