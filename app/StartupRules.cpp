#include "app/StartupRules.h"

#include <QCoreApplication>

namespace pagelark {

void NameSettingsRoot() {
    QCoreApplication::setOrganizationName(QString::fromLatin1(kSettingsRoot));
}

bool SplashAllowed(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(u'/') && !arg.startsWith(u'-')) continue;
        // One prefix character only: "--Embedding" names the flag "-Embedding".
        const QStringView flag = QStringView(arg).mid(1);
        if (flag.compare(u"Embedding", Qt::CaseInsensitive) == 0 ||
            flag.compare(u"Automation", Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace pagelark
