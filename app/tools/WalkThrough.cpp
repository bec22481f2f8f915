// The program as a new user meets it, step by step, with a picture of the
// screen after each step (taken with ImageMagick's import):
//
//   pagelark_walkthrough BASE_URL OUT_DIR
//
// BASE_URL serves page1.html .. page3.html. Run under xvfb-run.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <functional>
#include <vector>

#include "app/StartupRules.h"
#include "app/editors/ItemEditorDlg.h"
#include "app/language/UiLanguage.h"
#include "app/window/FileChooser.h"
#include "app/window/MainDlg.h"
#include "report/widgets/ReportCtrl.h"

namespace {

using namespace pagelark;

QString g_out;

void Shot(const char* name) {
    QApplication::processEvents();
    QProcess::execute("import", {"-window", "root", g_out + "/" + name + ".png"});
}

// Runs the steps one after another, each after a pause; a step may block in
// a modal dialog that its own timers answer.
void RunSteps(std::vector<std::pair<int, std::function<void()>>> steps, size_t next = 0) {
    if (next >= steps.size()) return;
    const int pause = steps[next].first;
    QTimer::singleShot(pause, [steps = std::move(steps), next]() mutable {
        steps[next].second();
        RunSteps(std::move(steps), next + 1);
    });
}

void AddItem(CMainDlg& window, const ItemFields& fields, const char* shot) {
    QTimer::singleShot(300, [fields, shot] {
        auto* dialog = qobject_cast<ItemEditorDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->SetFields(fields);
        if (shot != nullptr) Shot(shot);
        dialog->accept();
    });
    window.OnAdd();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pagelark");
    if (argc < 3) return 2;
    const std::string base = argv[1];
    g_out = argv[2];
    NameSettingsRoot();
    CMainDlg window;
    window.move(80, 60);
    SetFileChooser([](QWidget*, const FileChoice& choice) {
        return g_out + "/" + (choice.save ? choice.initialName.section('/', -1) : "My Script.xml");
    });

    const std::string filter = "Latest#HREF,5,4#end";
    RunSteps({
        {400, [] { Shot("01-splash"); }},
        {1500, [] { Shot("02-window"); }},
        {100,
         [&] {
             AddItem(window, {"Morning news", filter, base + "/page1.html"}, "03-add-dialog");
         }},
        {100,
         [&] {
             AddItem(window, {"Prices", "Price:#DATA,1,2#", base + "/page2.html"}, nullptr);
         }},
        {100,
         [&] {
             AddItem(window, {"Release notes", filter, base + "/page3.html"}, nullptr);
         }},
        {300, [] { Shot("04-three-items"); }},
        {100,
         [&] {
             window.OnStartStop();
             Shot("05-running");
         }},
        {2500,
         [&] {
             window.List()->SelectItems(0, 0, true, false, false, false);
             window.List()->setFocus();
             Shot("06-previews");
         }},
        {100,
         [&] {
             window.OnCommand(ID_LANGUAGE_SIMPLIFIED);
             Shot("07-simplified");
         }},
        {100,
         [&] {
             window.OnCommand(ID_LANGUAGE_TRADITIONAL);
             Shot("08-traditional");
         }},
        {100,
         [&] {
             window.OnCommand(ID_LANGUAGE_ENGLISH);
             window.OnSave();
             Shot("09-saved");
         }},
        {100,
         [&] {
             QTimer::singleShot(400, [] {
                 Shot("10-new-question");
                 if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                     box->button(QMessageBox::Yes)->click();
             });
             window.OnNew();
             Shot("11-new-empty");
         }},
        {300,
         [&] {
             window.OnLoad();
             Shot("12-loaded");
         }},
        {300, [&] { window.done(0); }},
    });
    return window.exec();
}
