#include "app/help/HtmlHelp.h"

#include <QPointer>

#include "app/InstallPaths.h"
#include "app/help/HelpWindow.h"

namespace pagelark {

QString HelpFilePath() {
    return FindDataFile(QStringLiteral("help.chm"));
}

HelpWindow* ShowHelp(QWidget* owner) {
    static QPointer<HelpWindow> window;
    if (window == nullptr) {
        window = new HelpWindow(HelpFilePath(), owner);
        window->setWindowModality(Qt::NonModal);
    } else if (window->IsLoaded()) {
        window->ShowDefaultTopic();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace pagelark
