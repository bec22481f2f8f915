#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/InstallPaths.h"

namespace {

using pagelark::FindDataFile;

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// The same program file found from the build folder and from an installed
// tree, whatever the current folder is.
TEST(InstallPaths, FindsTheFileBesideTheProgramThenUnderShare) {
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString installed = root.filePath(QStringLiteral("usr/share/pagelark/help.chm"));
    QDir().mkpath(bin);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());

    // Neither: the place beside the program, for the message that says so.
    EXPECT_EQ(FindDataFile(QStringLiteral("help.chm"), bin), bin + QStringLiteral("/help.chm"));
    Touch(installed);
    EXPECT_EQ(FindDataFile(QStringLiteral("help.chm"), bin), installed);
    // A copy beside the program (the build folder) comes first.
    Touch(bin + QStringLiteral("/help.chm"));
    EXPECT_EQ(FindDataFile(QStringLiteral("help.chm"), bin), bin + QStringLiteral("/help.chm"));
    // A folder of that name is not the file.
    QDir().mkpath(root.filePath(QStringLiteral("usr/bin/other.chm")));
    EXPECT_EQ(FindDataFile(QStringLiteral("other.chm"), bin), bin + QStringLiteral("/other.chm"));

    QDir::setCurrent(previous);
}

}  // namespace
