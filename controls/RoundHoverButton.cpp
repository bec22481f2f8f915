#include "controls/RoundHoverButton.h"

#include <QPainter>

namespace pagelark {

RoundHoverButton::RoundHoverButton(QWidget* parent, int style) : HoverButton(parent, style) {}

int RoundHoverButton::SetRound(bool round, bool repaint) {
    m_round = round;
    if (repaint) update();
    return 0;
}

int RoundHoverButton::OnDrawBackground(QPainter& painter, const QRect& rect) {
    const HoverButtonModel::Face& face = CurrentFace();
    if (!face.hovered && !face.pressed) return HoverButton::OnDrawBackground(painter, rect);

    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(face.fill);
    // Pixel centres, so the one-pixel outline stays sharp.
    const QRectF outline = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_round) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(outline, 4.0, 4.0);
    } else {
        painter.drawRect(outline);
    }
    painter.restore();
    return 0;
}

int RoundHoverButton::OnDrawBorder(QPainter& /*painter*/, const QRect& /*rect*/) {
    return 0;
}

}  // namespace pagelark
