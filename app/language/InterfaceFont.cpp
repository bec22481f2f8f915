#include "app/language/InterfaceFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <initializer_list>

#include "app/language/UiLanguage.h"
#include "controls/platform/DialogUnits.h"

namespace pagelark {

QString CjkFamily(int language) {
    static const std::initializer_list<const char*> kSimplified = {
        "Noto Sans CJK SC",    "Source Han Sans SC", "Source Han Sans CN",
        "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",  "AR PL UMing CN"};
    static const std::initializer_list<const char*> kTraditional = {
        "Noto Sans CJK TC", "Source Han Sans TC", "Source Han Sans TW", "Noto Sans CJK HK",
        "AR PL UMing TW"};
    const QStringList installed = QFontDatabase::families();
    for (const char* family : language == kLanguageTraditional ? kTraditional : kSimplified) {
        const QString name = QString::fromLatin1(family);
        if (installed.contains(name)) return name;
    }
    return QString();
}

QFont InterfaceFont(int language) {
    QFont font = DialogUnits::DialogFont();
    const QString cjk = CjkFamily(language);
    if (cjk.isEmpty()) return font;
    // The family the desktop's name resolves to: an alias such as "Sans Serif"
    // inside a family list would hand Latin text to the CJK font as well.
    const QString latin = QFontInfo(font).family();
    // A Chinese interface is drawn wholly in its CJK family, as a Chinese
    // desktop draws its dialogs. The first family must differ between the
    // variants too: fonts are cached under it, not under the fallbacks.
    if (language == kLanguageEnglish) {
        font.setFamilies({latin, cjk});
    } else {
        font.setFamilies({cjk, latin});
    }
    return font;
}

}  // namespace pagelark
