#pragma once

#include <QCoreApplication>
#include <QString>

// Where the program finds the files it ships beside itself (the help file),
// whether it runs from the build folder or installed; never relative to the
// current folder.
namespace pagelark {

// The folder below an installation's prefix that holds the program's data.
inline constexpr const char* kInstalledDataDir = "../share/pagelark";

// `name` beside the program (the build folder), else in ../share/pagelark/
// beside the program's bin/ folder (an installation). When neither exists,
// the path beside the program, so a message about the missing file names it.
// `programDir` defaults to the running program's folder.
QString FindDataFile(const QString& name,
                     const QString& programDir = QCoreApplication::applicationDirPath());

}  // namespace pagelark
