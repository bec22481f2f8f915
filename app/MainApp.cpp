#include "app/MainApp.h"

#include "app/SplashWindow.h"
#include "app/StartupRules.h"
#include "app/window/MainDlg.h"

namespace pagelark {

int CMainApp::Run(const QStringList& args) {
    NameSettingsRoot();
    SplashWindow::SetEnabled(SplashAllowed(args));
    CMainDlg window;
    window.LoadScriptFileOnceShown(ScriptArgument(args));
    return window.exec();
}

}  // namespace pagelark
