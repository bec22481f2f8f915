// The item editors and the splash as a user meets them: the add dialog, the
// edit dialog filled in, and the splash over a stand-in for the main window.
//
//   pagelark_editor_demo [--lang 0|1|2] [--blank]
//
// --blank presses OK on an empty add dialog so the field message shows.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/SplashWindow.h"
#include "app/editors/ItemEditorDlg.h"
#include "app/language/DialogTemplates.h"
#include "app/language/InterfaceFont.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/DlgItem.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    bool blank = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lang") && i + 1 < args.size()) {
            pagelark::ApplyLanguageCommand(pagelark::ID_LANGUAGE_ENGLISH + args[++i].toInt());
        } else if (args[i] == QLatin1String("--blank")) {
            blank = true;
        }
    }
    QApplication::setFont(pagelark::InterfaceFont(pagelark::UiLanguage));

    QWidget owner;
    owner.setGeometry(0, 0, 1000, 740);
    owner.setStyleSheet(QStringLiteral("background: #d8d8d8"));
    auto* note = new QLabel(QStringLiteral("the main window's place"), &owner);
    note->move(20, 700);
    owner.show();

    pagelark::ItemEditorDlg add(pagelark::IDD_ADD_ITEM, &owner);
    add.move(30, 40);
    add.show();
    auto* addTitle = new QLabel(add.windowTitle(), &owner);
    addTitle->move(30, 18);
    addTitle->show();

    pagelark::ItemEditorDlg edit(pagelark::IDD_EDIT_ITEM, &owner);
    edit.SetFields(
        {" Morning prices ", "DATA:Price:</td>", "http://127.0.0.1:8080/prices.html", true});
    edit.move(30, 250);
    edit.show();
    auto* editTitle = new QLabel(edit.windowTitle(), &owner);
    editTitle->move(30, 228);
    editTitle->show();

    // The splash lives 1200 ms; bring it back so a picture taken any time shows it.
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, &owner, [&] {
        if (pagelark::SplashWindow::Current() == nullptr) {
            pagelark::SplashWindow::ShowSplashScreen(&owner);
        }
    });
    again.start(50);
    if (blank) {
        QTimer::singleShot(600, &add, [&] {
            add.SetFields({"   ", "", "http://"});
            qobject_cast<QPushButton*>(pagelark::GetDlgItem(&add, 1))->click();
        });
    }
    return QApplication::exec();
}
