// The detail window on a really collected item, the about box and the help
// window on the Filter topic, each photographed with ImageMagick's import:
//
//   pagelark_detail_look SCRIPT.xml OUT_DIR
//
// SCRIPT.xml's first item must gather links (the sample list does). Run under
// xvfb-run, from build/app so that help.chm lies beside the program.

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include "app/SplashWindow.h"
#include "app/StartupRules.h"
#include "app/detail/DetailDlg.h"
#include "app/help/AboutDlg.h"
#include "app/help/HelpWindow.h"
#include "app/help/HtmlHelp.h"
#include "app/window/MainDlg.h"
#include "report/widgets/ReportCtrl.h"

namespace {

QString g_out;

void Shot(const char* name) {
    QApplication::processEvents();
    QProcess::execute("import", {"-window", "root", g_out + "/" + name + ".png"});
}

// Photographs the owner's dialog that is open after `pause`, then closes it.
template <typename Dialog>
void ShootModal(QWidget& owner, int pause, const char* name) {
    QTimer::singleShot(pause, [&owner, name] {
        Shot(name);
        if (auto* dialog = owner.findChild<Dialog*>()) dialog->reject();
    });
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pagelark;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pagelark");
    if (argc < 3) return 2;
    g_out = argv[2];
    NameSettingsRoot();
    SplashWindow::SetEnabled(false);
    CMainDlg window;
    window.move(80, 60);
    window.LoadScriptFile(QString::fromLocal8Bit(argv[1]));
    QTimer::singleShot(300, [&] { window.OnStartStop(); });
    QTimer::singleShot(4000, [&] {
        window.List()->SelectItems(0, 0, true, false, false, false);
        ShootModal<CDetailDlg>(window, 4000, "detail");
        window.OnDetail();
        ShootModal<CAboutDlg>(window, 600, "about");
        window.OnAbout();
        HelpWindow* help = ShowHelp(&window);
        help->move(40, 40);
        help->ShowTopic(QStringLiteral("/filter.html"));
        QTimer::singleShot(800, [&] {
            Shot("help-filter");
            window.done(0);
        });
    });
    return window.exec();
}
