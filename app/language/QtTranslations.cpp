#include "app/language/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "app/language/UiLanguage.h"

namespace pagelark {

bool LoadQtTranslations(int language) {
    static QPointer<QTranslator> translator;  // owned by the application
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return false;
    if (translator) QCoreApplication::removeTranslator(translator);
    if (language == kLanguageEnglish) return true;
    if (!translator) translator = new QTranslator(application);
    const QString name = language == kLanguageSimplified ? QStringLiteral("qtbase_zh_CN")
                                                         : QStringLiteral("qtbase_zh_TW");
    return translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(translator);
}

}  // namespace pagelark
