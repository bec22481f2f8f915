#pragma once

// Qt's own texts (message box buttons, the file chooser, the edit menus) in
// the interface language, from Qt's translations of itself.
namespace pagelark {

// Installs Qt's translations for a UiLanguage value, replacing those of the
// previous one; English needs none. False when the language's translations
// are not installed (Qt's texts then stay English) or there is no application.
bool LoadQtTranslations(int language);

}  // namespace pagelark
