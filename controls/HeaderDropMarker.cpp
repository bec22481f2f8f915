#include "controls/HeaderDropMarker.h"

#include <QPainter>
#include <QPolygon>

namespace pagelark {

HeaderDropMarker::HeaderDropMarker(QWidget* parent, int height, const QColor& colour)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_colour(colour) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(kWidth, height);
    setMask(Shape(height));
}

QRegion HeaderDropMarker::Shape(int height) {
    const int h = height;
    const QPolygon down({{8, 0}, {8, 4}, {11, 4}, {6, 9}, {1, 4}, {4, 4}, {4, 0}});
    const QPolygon up(
        {{4, h}, {4, h - 4}, {0, h - 4}, {6, h - 10}, {12, h - 4}, {8, h - 4}, {8, h}});
    return QRegion(down).united(QRegion(up));
}

void HeaderDropMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}

}  // namespace pagelark
