// The control gallery: every common control in every state.
//
//   pagelark_gallery [--lang 0|1|2] [--states] [--menu]
//
// --states puts the hover and pressed samples into their state; --menu also
// drops the language menu down, for pictures of the open menu.

#include <QApplication>
#include <QTimer>

#include "app/gallery/GalleryWindow.h"
#include "app/language/UiLanguage.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagelark"));
    QApplication::setOrganizationName(QStringLiteral("Quillmoor Software"));

    bool states = false;
    bool menu = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lang") && i + 1 < args.size()) {
            const int language = args[++i].toInt();
            pagelark::ApplyLanguageCommand(pagelark::ID_LANGUAGE_ENGLISH + language);
        } else if (args[i] == QLatin1String("--states")) {
            states = true;
        } else if (args[i] == QLatin1String("--menu")) {
            states = true;
            menu = true;
        }
    }

    pagelark::GalleryWindow window;
    window.move(0, 0);
    window.show();
    if (states) {
        QTimer::singleShot(400, &window, [&window, menu] { window.ShowStates(menu); });
    }
    return QApplication::exec();
}
