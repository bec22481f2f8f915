// The item list as the main window shows it, for looking at: the tiled
// picture, pale yellow alternate rows, grid, state images, gathered links
// under some rows, one row selected and the tip over a clipped Result.
//
//   pagelark_report_demo

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <string>

#include "app/window/MainListLook.h"
#include "controls/FlatHeaderCtrl.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/ImageList.h"
#include "report/widgets/ReportCtrl.h"

namespace {

using namespace pagelark;

// The main window's answer to RCN_DRAWPREVIEW: the gathered links under the row.
class Previews : public ReportParent {
  public:
    explicit Previews(CReportCtrl*& list) : m_list(list) {}
    std::map<int, QString> texts;

    int OnReportNotify(NotifyHeader& header) override {
        if (header.code != RCN_DRAWPREVIEW) return 0;
        const PreviewNotify& record = RecordOf<PreviewNotify>(header);
        const auto found = texts.find(record.param);
        if (found == texts.end()) return 0;
        auto* painter = static_cast<QPainter*>(record.context);
        const QPalette& colours = m_list->palette();
        const bool lit = (record.state & RIS_SELECTED) && m_list->HasFocus();
        painter->setPen(colours.color(lit ? QPalette::HighlightedText : QPalette::Highlight));
        const QRect rect = QRect(QPoint(record.rect.left, record.rect.top),
                                 QPoint(record.rect.right - 1, record.rect.bottom - 1))
                               .adjusted(40, 2, -4, -2);
        const QFontMetrics metrics(painter->font());
        QStringList lines = found->second.split('\n');
        for (QString& line : lines)
            line = metrics.elidedText(line, Qt::ElideRight, rect.width());
        painter->drawText(rect, Qt::TextExpandTabs, lines.join('\n'));
        return 0;
    }

  private:
    CReportCtrl*& m_list;
};

struct Row {
    int state;
    const char* name;
    const char* result;
    const char* time;
    const char* links;
};

const Row kRows[] = {
    {2, "Morning news", "Prices rose again in the morning trade and fell by noon", "09:41:07 AM",
     nullptr},
    {2, "Tech headlines", "12 links", "09:41:09 AM",
     "http://example.org/chips/new-fab-opens\nhttp://example.org/phones/review-x12\nhttp://"
     "example.org/cloud/outage-report"},
    {5, "Weather", "N/A", "09:41:12 AM", nullptr},
    {2, "Exchange rates", "1 EUR = 1.0842 USD", "09:41:15 AM", nullptr},
    {3, "Railway status", "", "", nullptr},
    {1, "Library hours", "", "", nullptr},
    {2, "Release notes", "4 links", "09:41:20 AM",
     "http://example.org/release/2.4\nhttp://example.org/release/2.3\nhttp://example.org/release/"
     "2.2"},
    {4, "Old forum", "", "", nullptr},
    {2, "Football scores", "Home 2 : 1 Away (final)", "09:41:24 AM", nullptr},
    {2, "Job board", "Senior developer wanted for a small team in the city centre", "09:41:26 AM",
     nullptr},
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pagelark"));
    window.setFont(DialogUnits::DialogFont());
    auto* layout = new QVBoxLayout(&window);
    CReportCtrl* list = nullptr;
    Previews previews(list);
    list = new CReportCtrl(&window, 1011);
    layout->addWidget(list);
    // Fits the screen at any scale (the 2x shots run on a 640x512-point screen).
    const QRect screen = window.screen()->availableGeometry();
    window.resize(std::min(640, screen.width() - 40), std::min(560, screen.height() - 40));
    window.move(20, 20);
    list->SetReportParent(&previews);

    ImageList images;
    SetUpMainList(*list, images, 620 - kResultWidthAllowance);

    for (int i = 0; i < 30; ++i) {
        const Row& row = kRows[i % 10];
        ReportItemInfo info;
        info.mask = RIF_IMAGE | RIF_PARAM;
        info.item = i;
        info.image = row.state;
        info.param = i + 1;
        list->InsertItem(info);
        list->SetItemText(
            i, 1, std::string(row.name) + (i >= 10 ? " " + std::to_string(i / 10 + 1) : ""));
        if (*row.result) list->SetItemText(i, 2, row.result);
        if (*row.time) list->SetItemText(i, 3, row.time);
        if (row.links) {
            const QString text = QString::fromUtf8(row.links);
            previews.texts[i + 1] = text;
            ReportItemInfo preview;
            preview.mask = RIF_PREVIEW;
            preview.item = i;
            preview.previewHeight = list->GetTextHeight(list->NormalFont(), row.links) + 4;
            list->SetItem(preview);
        }
    }
    list->SelectItems(3, 3, true, false, false, false);
    window.show();
    window.activateWindow();
    list->setFocus();

    // The mouse rests on the clipped Result of row 9.
    QTimer::singleShot(600, &window, [list] {
        QRect cell;
        if (!list->GetItemRect(9, 2, cell, CellPart::Text)) return;
        const QPoint at = cell.center();
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(list->viewport()->mapToGlobal(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
    });
    return QApplication::exec();
}
