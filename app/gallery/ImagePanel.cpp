#include "app/gallery/ImagePanel.h"

#include <QPainter>

#include "controls/platform/ColorRef.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

constexpr int kCell = 22;
constexpr int kLeft = 84;

}  // namespace

ImagePanel::ImagePanel(QWidget* parent) : QWidget(parent) {
    m_states.Create(131, 16);
}

QSize ImagePanel::sizeHint() const {
    return QSize(kLeft + 8 * kCell + 140, 150);
}

void ImagePanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);

    struct Row {
        const char* label;
        ImageList::DrawStyle style;
        QColor background;
    };
    const Row rows[] = {
        {"normal", ImageList::DrawStyle::Normal, Qt::white},
        {"on list", ImageList::DrawStyle::Normal, FromColorRef(0xEEFFFF)},
        {"selected", ImageList::DrawStyle::Normal, palette().color(QPalette::Highlight)},
        {"blend 25", ImageList::DrawStyle::Blend25, Qt::white},
        {"blend 50", ImageList::DrawStyle::Blend50, Qt::white},
        {"disabled", ImageList::DrawStyle::Disabled, Qt::white},
    };
    int y = 4;
    for (const Row& row : rows) {
        painter.setPen(ink);
        painter.drawText(QRect(0, y, kLeft - 6, kCell), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromLatin1(row.label));
        painter.fillRect(QRect(kLeft, y, m_states.GetImageCount() * kCell, kCell), row.background);
        for (int i = 0; i < m_states.GetImageCount(); ++i) {
            m_states.Draw(painter, i, QPoint(kLeft + i * kCell + 3, y + 3), row.style);
        }
        y += kCell;
    }

    // The animation frames and the product icon.
    const int right = kLeft + 8 * kCell + 16;
    painter.drawText(QRect(right, 4, 120, 16), Qt::AlignLeft, QStringLiteral("busy icons"));
    const int frames[] = {181, 186, 187, 188, 189};
    for (int i = 0; i < 5; ++i) {
        LoadIcon(frames[i]).paint(&painter, QRect(right + i * 22, 24, 16, 16));
    }
    painter.drawText(QRect(right, 50, 120, 16), Qt::AlignLeft, QStringLiteral("product icon"));
    LoadIcon(kProductIcon).paint(&painter, QRect(right, 70, 32, 32));
    LoadIcon(kProductIcon).paint(&painter, QRect(right + 40, 70, 64, 64));
}

}  // namespace pagelark
