#pragma once

#include <atomic>

// The interface language: 0 English, 1 Simplified Chinese, 2 Traditional
// Chinese. Every start is in English; only the language commands change it.
namespace pagelark {

inline constexpr int kLanguageEnglish = 0;
inline constexpr int kLanguageSimplified = 1;
inline constexpr int kLanguageTraditional = 2;

// The language menu resource and its commands.
inline constexpr int IDR_LANGUAGE_MENU = 177;
inline constexpr int ID_LANGUAGE_ENGLISH = 32771;
inline constexpr int ID_LANGUAGE_SIMPLIFIED = 32772;
inline constexpr int ID_LANGUAGE_TRADITIONAL = 32773;

// Atomic because the collection worker reads texts while the window thread
// may switch the language.
extern std::atomic<int> UiLanguage;

// Sets UiLanguage for one of the three language commands, with Qt's own
// texts in that language; false (and no change) for any other command.
bool ApplyLanguageCommand(int commandId);

}  // namespace pagelark
