// pagelark [SCRIPT.xml]: the program's window, with the script file loaded
// when one is named. pagelark-cli starts it as `pagelark --render-helper` to
// render pages without a window.

#include <QApplication>

#include <cstring>

#include "app/MainApp.h"
#include "app/render/RenderHelper.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], pagelark::kRenderHelperFlag) == 0)
        return pagelark::RunRenderHelper(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));
    pagelark::CMainApp program;
    program.Run(QApplication::arguments());
    return 0;
}
