// Painting the list as the main window shows it: 9999 rows, tiled picture,
// alternate rows, grid, state images and preview bands every fifth row.
//
//   QT_QPA_PLATFORM=offscreen build/bench/report/report_ctrl_bench

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/window/MainListLook.h"
#include "controls/platform/ImageList.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

constexpr int kRows = 9999;

class PreviewParent : public ReportParent {
  public:
    int OnReportNotify(NotifyHeader& header) override {
        if (header.code != RCN_DRAWPREVIEW) return 0;
        const PreviewNotify& record = RecordOf<PreviewNotify>(header);
        auto* painter = static_cast<QPainter*>(record.context);
        const QRect rect = QRect(QPoint(record.rect.left, record.rect.top),
                                 QPoint(record.rect.right - 1, record.rect.bottom - 1))
                               .adjusted(40, 2, -4, -2);
        painter->drawText(rect, Qt::TextExpandTabs,
                          QStringLiteral("Link one\nLink two\nLink three"));
        return 0;
    }
};

struct Fixture {
    PreviewParent parent;
    ImageList images;
    std::unique_ptr<CReportCtrl> list;
    QImage frame{800, 600, QImage::Format_ARGB32_Premultiplied};

    Fixture() {
        list = std::make_unique<CReportCtrl>();
        list->resize(800, 600);
        list->SetReportParent(&parent);
        SetUpMainList(*list, images, 800 - kResultWidthAllowance);
        for (int i = 0; i < kRows; ++i) {
            ReportItemInfo info;
            info.mask = RIF_IMAGE | RIF_PARAM | RIF_PREVIEW;
            info.item = i;
            info.image = 2;
            info.param = i + 1;
            info.previewHeight = i % 5 == 0 ? 48 : 0;
            list->InsertItem(info);
            list->SetItemText(i, 1, "Item " + std::to_string(i + 1));
            list->SetItemText(i, 2, "Prices rose again in the morning trade and fell by noon");
            list->SetItemText(i, 3, "09:41:07 AM");
        }
        list->show();
        list->EnsureVisible(kRows / 2, false);
    }
    void Paint() {
        QPainter painter(&frame);
        list->viewport()->render(&painter);
    }
};

// Made on first use and dropped before the application object goes.
std::unique_ptr<Fixture> g_fixture;

Fixture& Shared() {
    if (!g_fixture) g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void PaintFullView(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        f.Paint();
        benchmark::DoNotOptimize(f.frame.constBits());
    }
}
BENCHMARK(PaintFullView)->Unit(benchmark::kMillisecond);

// One page down and the repaint that follows, then back, so the view stays mid-list.
void ScrollOnePage(benchmark::State& state) {
    Fixture& f = Shared();
    bool down = true;
    for (auto _ : state) {
        f.list->ScrollVertically(down ? ScrollCommand::PageForward : ScrollCommand::PageBack);
        f.Paint();
        down = !down;
    }
}
BENCHMARK(ScrollOnePage)->Unit(benchmark::kMillisecond);

}  // namespace

void DropFixture() {
    g_fixture.reset();
}

}  // namespace pagelark

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pagelark::DropFixture();
    return 0;
}
