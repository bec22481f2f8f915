// What the window tells of changes and failures, photographed with
// ImageMagick's import after three real runs in the chosen language:
//
//   pagelark_history_look OUT_DIR [0|1|2]
//
// It serves its own pages with python3's http.server from a scratch folder,
// changes them between the runs and stops one server before the last run,
// so one row fails, one needs attention and the others have a history. The
// pictures: the list, the tip of the failed row, the tip of the row that
// needs attention, the detail window's History of a changed item and of
// the failed one, and the Repeat dialog. Run under xvfb-run with XDG_CONFIG_HOME and XDG_DATA_HOME
// pointing at scratch folders: it changes the settings it runs with.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHelpEvent>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <functional>
#include <vector>

#include "app/SplashWindow.h"
#include "app/StartupRules.h"
#include "app/detail/DetailDlg.h"
#include "app/language/UiLanguage.h"
#include "app/window/MainDlg.h"
#include "app/window/RepeatDlg.h"
#include "controls/HoverButton.h"
#include "report/widgets/ReportCtrl.h"

namespace {

using namespace pagelark;

QString g_out;

// Lets the window work for `ms` milliseconds, or until `done` answers true.
void Wait(int ms, const std::function<bool()>& done = {}) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(done && done()))
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Shot(const QString& name) {
    QApplication::processEvents();
    QProcess::execute("import", {"-window", "root", g_out + "/" + name + ".png"});
}

int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

void Write(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc) << text;
}

// The pages of run 0, 1 and 2.
void WritePages(const QString& folder, int run) {
    const char* prices[] = {"12.50 USD", "12.99 USD", "11.75 USD"};
    const char* forecasts[] = {"Sunny, 21 degrees, light wind from the west",
                               "Cloudy, 18 degrees, light wind from the north",
                               "Rain later, 16 degrees, strong wind from the north"};
    const char* stories[] = {"Council approves the new bridge", "Library opens on Sundays",
                             "Harbour festival moves to June", "Tram line 4 runs again"};
    const std::vector<std::vector<int>> shown = {{0, 1}, {1, 2}, {2, 3, 0}};
    std::string news = "<h2>Latest</h2>";
    for (const int story : shown[run]) {
        const std::string page = "story" + std::to_string(story) + ".html";
        news += "<a href='/" + page + "'>" + stories[story] + "</a> ";
        Write(folder + "/" + QString::fromStdString(page),
              std::string("<h1>") + stories[story] + "</h1><p>The whole story.</p>");
    }
    Write(folder + "/shop.html", std::string("<p>Price: ") + prices[run] + "</p>");
    Write(folder + "/weather.html", std::string("<p>Forecast: ") + forecasts[run] + "</p>");
    Write(folder + "/news.html", news + "<p>end</p>");
    const char* notices[] = {"今日晴天，气温二十一度，西风", "今日多云，气温十八度，北风",
                             "明日有雨，气温十六度，北风"};
    Write(folder + "/notice.html",
          std::string("<meta charset='utf-8'><p>Notice: ") + notices[run] + "</p>");
    Write(folder + "/count.html", "<p>Visitors: " + std::to_string(120 + 7 * run) + "</p>");
}

QProcess* Serve(const QString& folder, int port) {
    auto* server = new QProcess;
    server->setWorkingDirectory(folder);
    server->start("python3", {"-m", "http.server", QString::number(port), "--bind", "127.0.0.1"});
    server->waitForStarted();
    Wait(700);
    return server;
}

void RunOnce(CMainDlg& window) {
    window.OnStartStop();
    Wait(20000, [&] { return !window.Worker().IsRunning() && window.Worker().Idle(); });
    Wait(200);
}

// The tip over a row, as the mouse resting there would bring it.
void ShowTip(CMainDlg& window, int row) {
    CReportCtrl* list = window.List();
    QRect rect;
    list->GetItemRect(row, 1, rect, CellPart::Cell);
    const QPoint at = rect.center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &help);
    Wait(500);
}

// The detail window of a row, on its History view.
void ShootDetail(CMainDlg& window, int row, const QString& name) {
    window.List()->SelectItems(row, row, true, false, false, false);
    QTimer::singleShot(1500, [&window, name] {
        auto* dialog = window.findChild<CDetailDlg*>();
        if (dialog == nullptr) return;
        dialog->ShowHistory(true);
        Wait(300);
        Shot(name);
        dialog->reject();
    });
    window.OnDetail();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pagelark");
    if (argc < 2) return 2;
    g_out = argv[1];
    const int language = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    NameSettingsRoot();
    SplashWindow::SetEnabled(false);
    const QTemporaryDir scratch;
    const QString pages = scratch.filePath("pages");
    const QString mirror = scratch.filePath("mirror");
    QDir().mkpath(pages);
    QDir().mkpath(mirror);
    WritePages(pages, 0);
    WritePages(mirror, 0);
    const int port = FreePort();
    const int mirrorPort = FreePort();
    QProcess* server = Serve(pages, port);
    QProcess* mirrorServer = Serve(mirror, mirrorPort);
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    const std::string list =
        "<xml version=1.0>\r\n"
        "<item><name>Price</name><format>Price:#DATA,1,2#</format><url>" +
        base +
        "/shop.html</url></item>\r\n"
        "<item><name>Weather</name><format>Forecast:#DATA,1,8#</format><url>" +
        base +
        "/weather.html</url></item>\r\n"
        "<item><name>City notice</name><format>Notice:#DATA,1#</format><url>" +
        base +
        "/notice.html</url></item>\r\n"
        "<item><name>Headlines</name><format>Latest#HREF,5,4#end</format><url>" +
        base +
        "/news.html</url></item>\r\n"
        "<item><name>Visitors</name><format>Visitors:#DATA,1#</format><url>http://127.0.0.1:" +
        std::to_string(mirrorPort) +
        "/count.html</url></item>\r\n"
        "<item><name>Old shop</name><format>Price:#DATA,1#</format><url>http://127.0.0.1:1/"
        "</url></item>\r\n"
        "<item><name>Offers</name><format>Offer:#DATA,1,3#</format><url>" +
        base + "/shop.html</url></item>\r\n</xml>";
    Write(scratch.filePath("watch.xml"), list);

    CMainDlg window;
    window.move(40, 40);
    window.resize(760, 420);
    window.show();
    const int commands[] = {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_SIMPLIFIED, ID_LANGUAGE_TRADITIONAL};
    window.OnCommand(commands[std::clamp(language, 0, 2)]);
    window.SetChangeRules({false, 3, 20});
    window.LoadScriptFile(scratch.filePath("watch.xml"));
    Wait(300);
    for (int run = 0; run < 3; ++run) {
        WritePages(pages, run);
        WritePages(mirror, run);
        if (run == 2) {
            mirrorServer->kill();
            mirrorServer->waitForFinished();
        }
        RunOnce(window);
    }
    const QString suffix = "-" + QString::number(language);
    window.activateWindow();
    window.List()->setFocus();
    Shot("list" + suffix);
    ShowTip(window, 4);
    Shot("tip-failed" + suffix);
    ShowTip(window, 5);
    Shot("tip-attention" + suffix);
    ShootDetail(window, 1, "history-weather" + suffix);
    ShootDetail(window, 2, "history-notice" + suffix);
    ShootDetail(window, 3, "history-headlines" + suffix);
    ShootDetail(window, 4, "history-failed" + suffix);
    QTimer::singleShot(800, [&window, suffix] {
        auto* dialog = window.findChild<RepeatDlg*>();
        if (dialog == nullptr) return;
        Shot("repeat" + suffix);
        dialog->reject();
    });
    window.OnRepeatSetting();
    server->kill();
    server->waitForFinished();
    delete server;
    delete mirrorServer;
    return 0;
}
