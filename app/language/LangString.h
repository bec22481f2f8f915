#pragma once

#include <QString>

#include <string>
#include <string_view>

// The piece of a string table entry for the interface language.
namespace pagelark {

// Entry id in the current UiLanguage, as stored (UTF-8); empty when the
// table has no such entry.
std::string LangString(int id);

// The same as text for a widget.
QString LangText(int id);

// The piece of entry for language: the whole entry when it has no '|', the
// English piece for a language it has no piece for.
std::string LanguagePiece(std::string_view entry, int language);

}  // namespace pagelark
