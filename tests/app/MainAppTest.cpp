// The program as it starts: CMainApp runs the main window in exec(), with the
// splash, on the script file named on the command line.

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "app/MainApp.h"
#include "app/SplashWindow.h"
#include "app/window/MainDlg.h"
#include "controls/platform/MessageBox.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

// What the user sees when the message comes, and once it is answered.
struct Seen {
    QString message;
    bool overTheWindow = false;
    bool splashGone = false;
    int rowsAfter = -1;
};

// A script file that cannot be opened (missing, a folder) is reported over the
// main window once the splash has gone; the window then shows an empty list.
TEST(MainAppTest, AnUnreadableScriptFileIsReportedOverTheWindowWhichStays) {
    const QTemporaryDir dir;
    for (const QString& path : {dir.filePath("missing.xml"), dir.path()}) {
        Seen seen;
        const MessageBoxHandler old =
            SetMessageBoxHandler([&](QWidget* parent, const QString& text, QMessageBox::Icon,
                                     QMessageBox::StandardButtons) {
                auto* window = qobject_cast<CMainDlg*>(parent);
                seen.message = text;
                seen.overTheWindow = window != nullptr && window->windowHandle() != nullptr &&
                                     window->windowHandle()->isVisible();
                seen.splashGone = SplashWindow::Current() == nullptr;
                if (window != nullptr) {
                    QTimer::singleShot(0, window, [&seen, window] {
                        seen.rowsAfter = window->isVisible() ? window->List()->GetItemCount() : -1;
                        window->close();
                    });
                }
                return QMessageBox::Ok;
            });
        CMainApp program;
        EXPECT_EQ(program.Run({"pagelark", path}), 2) << path.toStdString();
        SetMessageBoxHandler(old);
        EXPECT_EQ(seen.message, "Errors in I/O operation. ");
        EXPECT_TRUE(seen.overTheWindow);
        EXPECT_TRUE(seen.splashGone);
        EXPECT_EQ(seen.rowsAfter, 0);
    }
}

}  // namespace
}  // namespace pagelark
