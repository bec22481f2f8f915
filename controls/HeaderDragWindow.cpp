#include "controls/HeaderDragWindow.h"

#include <QPainter>

#include "controls/FlatHeaderCtrl.h"

namespace pagelark {

HeaderDragWindow::HeaderDragWindow(CFlatHeaderCtrl& header, const HeaderItem& item, bool sorted,
                                   bool ascending, const QRect& screenRect)
    : QWidget(&header, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_header(header),
      m_item(item),
      m_sorted(sorted),
      m_ascending(ascending) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(header.font());
    setPalette(header.palette());
    setGeometry(screenRect);
}

void HeaderDragWindow::CentreOn(const QPoint& globalPos) {
    move(globalPos - QPoint(width() / 2, height() / 2));
    if (!isVisible()) show();
}

void HeaderDragWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    CFlatHeaderCtrl::Draw3dFrame(painter, rect(), colours.color(QPalette::Light),
                                 colours.color(QPalette::Dark));
    painter.setPen(colours.color(QPalette::ButtonText));
    painter.setFont(font());
    const int spacing = m_header.State().Metrics().spacing;
    m_header.DrawItem(painter, rect().adjusted(1 + spacing, 1, -1 - spacing, -1), m_item, m_sorted,
                      m_ascending);
}

}  // namespace pagelark
