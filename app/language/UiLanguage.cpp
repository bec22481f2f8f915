#include "app/language/UiLanguage.h"

#include "app/language/QtTranslations.h"

namespace pagelark {

std::atomic<int> UiLanguage{kLanguageEnglish};

bool ApplyLanguageCommand(int commandId) {
    switch (commandId) {
        case ID_LANGUAGE_ENGLISH:
            UiLanguage = kLanguageEnglish;
            break;
        case ID_LANGUAGE_SIMPLIFIED:
            UiLanguage = kLanguageSimplified;
            break;
        case ID_LANGUAGE_TRADITIONAL:
            UiLanguage = kLanguageTraditional;
            break;
        default:
            return false;
    }
    LoadQtTranslations(UiLanguage);
    return true;
}

}  // namespace pagelark
