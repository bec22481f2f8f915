// The list's column header and tip as the report control will show them:
// captions sorted both ways, a caption being dragged (its floating copy and
// the drop marker) and the tip over a clipped cell.
//
//   pagelark_header_demo

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/FlatHeaderCtrl.h"
#include "controls/platform/DialogUnits.h"
#include "report/widgets/ReportTipOwner.h"
#include "report/widgets/ReportTipWindow.h"

namespace {

using pagelark::CFlatHeaderCtrl;
using pagelark::HeaderItem;
using pagelark::HeaderItemExtra;

constexpr uint32_t kRight = 0x1;
constexpr uint32_t kCentre = 0x2;

// The four columns of the main window's list.
void AddColumns(CFlatHeaderCtrl& header) {
    const struct {
        const char* text;
        int width;
        uint32_t format;
    } columns[] = {
        {"Name", 150, 0}, {"State", 60, kCentre}, {"Result", 220, 0}, {"Last Update", 110, kRight}};
    for (const auto& column : columns) {
        HeaderItem item;
        item.text = column.text;
        item.width = column.width;
        item.format = column.format;
        item.order = header.GetItemCount();
        header.InsertItem(header.GetItemCount(), item);
    }
    HeaderItemExtra fixed;
    fixed.flags = HeaderItemExtra::FixedWidth;
    header.SetItemExtra(1, fixed);
}

// Three rows of cells under a header; the Result of the second is clipped.
class Cells : public QWidget, public pagelark::ReportTipOwner {
  public:
    explicit Cells(QWidget* parent) : QWidget(parent) {
        setFixedHeight(3 * kRow);
        setFocusPolicy(Qt::StrongFocus);
    }
    QWidget* TipOwnerWidget() override { return this; }
    QRect ResultRect(int row) const { return QRect(210 + 6, row * kRow, 220 - 12, kRow); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        const char* results[] = {"12 links",
                                 "Prices rose again in the morning trade and fell by noon", "N/A"};
        for (int row = 0; row < 3; ++row) {
            const QRect cell = ResultRect(row);
            painter.drawText(QRect(6, row * kRow, 138, kRow), Qt::AlignVCenter,
                             QStringLiteral("Item %1").arg(row + 1));
            painter.drawText(cell, Qt::AlignVCenter,
                             fontMetrics().elidedText(QString::fromUtf8(results[row]),
                                                      Qt::ElideRight, cell.width()));
        }
    }

  private:
    static constexpr int kRow = 19;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFont(pagelark::DialogUnits::DialogFont());
    auto* layout = new QVBoxLayout(&window);
    const auto addHeader = [&](const QString& title) {
        layout->addWidget(new QLabel(title, &window));
        auto* header = new CFlatHeaderCtrl(&window);
        AddColumns(*header);
        header->setFixedSize(560, header->sizeHint().height());
        layout->addWidget(header);
        return header;
    };
    addHeader(QStringLiteral("Sorted by Result, ascending"))->SetSortColumn(2, true);
    addHeader(QStringLiteral("Sorted by Name, descending"))->SetSortColumn(0, false);
    CFlatHeaderCtrl* dragged = addHeader(QStringLiteral("Last Update being dragged before Name"));
    dragged->SetSortColumn(3, false);
    layout->addSpacing(30);
    CFlatHeaderCtrl* listHeader = addHeader(QStringLiteral("A clipped Result with its tip"));
    listHeader->SetSortColumn(2, true);
    auto* cells = new Cells(&window);
    layout->addWidget(cells);
    layout->addStretch();
    window.resize(600, 360);
    window.move(20, 20);
    window.show();
    window.activateWindow();
    cells->setFocus();

    pagelark::ReportTipWindow tip(*cells);
    QTimer::singleShot(500, &window, [&] {
        const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent event(type, at, dragged->mapToGlobal(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(dragged, &event);
        };
        send(QEvent::MouseButtonPress, QPoint(520, 8), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(400, 12), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(40, 14), Qt::LeftButton);
        tip.Show(cells->ResultRect(1),
                 QStringLiteral("Prices rose again in the morning trade and fell by noon"));
    });
    return QApplication::exec();
}
