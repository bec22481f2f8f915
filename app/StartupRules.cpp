#include "app/StartupRules.h"

#include <QCoreApplication>

namespace pagelark {

void NameSettingsRoot() {
    QCoreApplication::setOrganizationName(QString::fromLatin1(kSettingsRoot));
}

namespace {

bool IsHostFlag(const QString& arg) {
    if (!arg.startsWith(u'/') && !arg.startsWith(u'-')) return false;
    // One prefix character only: "--Embedding" names the flag "-Embedding".
    const QStringView flag = QStringView(arg).mid(1);
    return flag.compare(u"Embedding", Qt::CaseInsensitive) == 0 ||
           flag.compare(u"Automation", Qt::CaseInsensitive) == 0;
}

}  // namespace

bool SplashAllowed(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (IsHostFlag(args[i])) return false;
    }
    return true;
}

QString ScriptArgument(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!IsHostFlag(args[i]) && !args[i].startsWith(u'-')) return args[i];
    }
    return {};
}

}  // namespace pagelark
