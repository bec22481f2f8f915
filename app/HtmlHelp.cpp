#include "app/HtmlHelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

#include "app/HelpWindow.h"

namespace pagelark {

QString HelpFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help.chm"));
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
