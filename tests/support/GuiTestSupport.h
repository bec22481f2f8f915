#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <functional>

// Small helpers shared by the widget tests.
namespace pagelark::testing {

// Shows the window and makes it the application's active one.
inline bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// What the widget looks like right now, at one pixel per point.
inline QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

inline void SendMove(QWidget& widget, const QPoint& at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::NoButton,
                     held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

// The smallest rectangle holding every pixel that matches.
inline QRect PixelBounds(const QImage& image, const std::function<bool(QRgb)>& match) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace pagelark::testing
