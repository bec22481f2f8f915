#include "controls/LinkLabel.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "controls/platform/UrlOpener.h"

namespace pagelark {

LinkLabel::LinkLabel(QWidget* parent, const QString& text, const QString& url)
    : QLabel(text, parent), m_url(url) {
    // A plain label's alignment: top left, unless the owner asks otherwise.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (m_url.isEmpty()) m_url = QLabel::text();
    if (QLabel::text().isEmpty()) setText(m_url);
    TakeFonts();
    setMouseTracking(true);
    PositionWindow();
    if (!testAttribute(Qt::WA_SetCursor)) setCursor(Qt::PointingHandCursor);
    setToolTip(m_url);
}

LinkLabel::~LinkLabel() {
    m_hoverTimer.stop();
}

void LinkLabel::TakeFonts() {
    m_normalFont = font();
    m_normalFont.setUnderline(false);
    m_underlineFont = m_normalFont;
    m_underlineFont.setUnderline(true);
}

void LinkLabel::SetURL(const QString& url) {
    m_url = url;
    PositionWindow();
    setToolTip(m_url);
}

void LinkLabel::SetColours(const QColor& link, const QColor& visited, const QColor& hover) {
    m_linkColour = link;
    m_visitedColour = visited;
    m_hoverColour = hover;
    update();
}

QColor LinkLabel::HoverColour() const {
    return m_hoverColour.isValid() ? m_hoverColour : palette().color(QPalette::Highlight);
}

void LinkLabel::SetVisited(bool visited) {
    m_visited = visited;
    update();
}

void LinkLabel::SetUnderline(int mode) {
    if (mode == m_underline) return;
    m_underline = mode;
    SetUnderlined(mode == 1);
}

void LinkLabel::SetUnderlined(bool underlined) {
    m_underlined = underlined;
    update();
}

QColor LinkLabel::TextColour() const {
    if (m_over) return HoverColour();
    return m_visited ? m_visitedColour : m_linkColour;
}

void LinkLabel::OpenLink() {
    m_over = false;
    const int result = GotoURL(m_url);
    if (result > 32) {
        SetVisited(true);
    } else {
        QApplication::beep();
        ReportError(this, result);
    }
}

void LinkLabel::PositionWindow() {
    if (!m_autoSize) return;
    const QFontMetrics metrics(m_underlineFont);
    const QSize textSize = metrics.size(0, text());
    // Whatever lies around the text area (frame, margins) is kept.
    const int extraWidth = width() - contentsRect().width();
    const int extraHeight = height() - contentsRect().height();
    const int wantedWidth = textSize.width() + extraWidth;
    const int wantedHeight = textSize.height() + extraHeight;

    QRect area = geometry();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        const int shrink = (area.height() - wantedHeight) / 2;
        area.setTop(area.top() + shrink);
        area.setHeight(wantedHeight);
    } else {
        area.setHeight(wantedHeight);
    }
    if (align & Qt::AlignHCenter) {
        const int shrink = (area.width() - wantedWidth) / 2;
        area.setLeft(area.left() + shrink);
        area.setWidth(wantedWidth);
    } else if (align & Qt::AlignRight) {
        area.setLeft(area.right() + 1 - wantedWidth);
    } else {
        area.setWidth(wantedWidth);
    }
    setGeometry(area);
}

void LinkLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setFont(m_underlined ? m_underlineFont : m_normalFont);
    painter.setPen(TextColour());
    painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    if (m_over) return;
    m_over = true;
    if (m_underline == -1) m_underlined = true;
    update();
    m_hoverTimer.start(kHoverTimerMs, this);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit linkClicked();
    }
}

void LinkLabel::CheckHover(const QPoint& screenPos) {
    if (rect().contains(mapFromGlobal(screenPos))) return;
    m_over = false;
    m_hoverTimer.stop();
    if (m_underline != 1) m_underlined = false;
    // The underline may reach just below the label; repaint that strip too.
    update();
    if (QWidget* parent = parentWidget()) parent->update(geometry().adjusted(0, 0, 0, 10));
}

void LinkLabel::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_hoverTimer.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    CheckHover(QCursor::pos());
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) TakeFonts();
}

}  // namespace pagelark
