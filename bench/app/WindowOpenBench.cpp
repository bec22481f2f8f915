// Opening a script file in the main window, as the program does with a file
// on its command line: the window is made and shown, the list is loaded and
// the rows are painted. The six-item sample and a list of 9999 items; each
// open is timed from the window's creation to the end of the first paint of
// the loaded rows. Then one page down through the long list, repainted.
//
//   QT_QPA_PLATFORM=offscreen build/bench/app/window_open_bench
//   (or under xvfb-run for a real display)

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "app/SplashWindow.h"
#include "app/window/MainDlg.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

// Counts paint events of the list's rows.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

std::string MakeList(int items) {
    std::string text = "<xml version=1.0>\r\n";
    for (int i = 1; i <= items; ++i) {
        const std::string n = std::to_string(i);
        text += "<item>\r\n<name>Riverside Gazette page " + n +
                "</name>\r\n<format>Headlines#HREF,10,8#More news</format>\r\n"
                "<url>https://news.example.org/section/" +
                n + "/index.html</url>\r\n</item>\r\n";
    }
    return text + "</xml>";
}

void OpenList(benchmark::State& state) {
    QTemporaryDir folder;
    const int items = static_cast<int>(state.range(0));
    const QString path = folder.filePath("list.xml");
    std::ofstream(path.toStdString(), std::ios::binary) << MakeList(items);
    SplashWindow::SetEnabled(false);
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        auto window = std::make_unique<CMainDlg>();
        window->show();
        PaintCounter counter;
        window->List()->viewport()->installEventFilter(&counter);
        window->LoadScriptFile(path);
        // The rows as a person first sees them: painted at once rather than
        // when the window system next asks.
        QApplication::processEvents();
        window->repaint();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(took.count());
        state.counters["rows"] = window->List()->GetItemCount();
        state.counters["row_paints"] = counter.paints;
        // The same long list scrolled one page down and painted.
        const auto scrollStart = std::chrono::steady_clock::now();
        window->List()->ScrollVertically(ScrollCommand::PageForward);
        window->List()->viewport()->repaint();
        const std::chrono::duration<double> scrolled =
            std::chrono::steady_clock::now() - scrollStart;
        state.counters["page_down_ms"] = scrolled.count() * 1000;
    }
}
BENCHMARK(OpenList)->ArgName("items")->Arg(6)->Arg(9999)->Iterations(3)->UseManualTime()->Unit(
    benchmark::kMillisecond);

}  // namespace
}  // namespace pagelark

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
