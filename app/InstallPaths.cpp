#include "app/InstallPaths.h"

#include <QDir>
#include <QFileInfo>

namespace pagelark {

QString FindDataFile(const QString& name, const QString& programDir) {
    const QDir program(programDir);
    const QString beside = program.absoluteFilePath(name);
    if (QFileInfo(beside).isFile()) return beside;
    const QString installed = QDir::cleanPath(
        program.absoluteFilePath(QString::fromLatin1(kInstalledDataDir) + u'/' + name));
    if (QFileInfo(installed).isFile()) return installed;
    return beside;
}

}  // namespace pagelark
