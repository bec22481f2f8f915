// pagelark [SCRIPT.xml]: the program's window, with the script file loaded
// when one is named.

#include <QApplication>

#include "app/MainApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));
    pagelark::CMainApp program;
    program.Run(QApplication::arguments());
    return 0;
}
