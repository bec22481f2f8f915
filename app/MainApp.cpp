#include "app/MainApp.h"

#include <QTimer>

#include "app/SplashWindow.h"
#include "app/StartupRules.h"
#include "app/window/MainDlg.h"

namespace pagelark {

int CMainApp::Run(const QStringList& args) {
    NameSettingsRoot();
    SplashWindow::SetEnabled(SplashAllowed(args));
    CMainDlg window;
    if (const QString script = ScriptArgument(args); !script.isEmpty()) {
        // Once the window shows, so that a message about the file has an owner on screen.
        QTimer::singleShot(0, &window, [&window, script] { window.LoadScriptFile(script); });
    }
    return window.exec();
}

}  // namespace pagelark
