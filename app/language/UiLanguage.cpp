#include "app/language/UiLanguage.h"

namespace pagelark {

std::atomic<int> UiLanguage{kLanguageEnglish};

bool ApplyLanguageCommand(int commandId) {
    switch (commandId) {
        case ID_LANGUAGE_ENGLISH:
            UiLanguage = kLanguageEnglish;
            return true;
        case ID_LANGUAGE_SIMPLIFIED:
            UiLanguage = kLanguageSimplified;
            return true;
        case ID_LANGUAGE_TRADITIONAL:
            UiLanguage = kLanguageTraditional;
            return true;
        default:
            return false;
    }
}

}  // namespace pagelark
