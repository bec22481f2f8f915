// Renders an image strip drawn as SVG into the PNG the program loads: opaque
// pixels on the magenta mask colour. Edge pixels are blended onto white, the
// light background the strip's images are shown on.
//
//   pagelark_render_strip in.svg out.png scale

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s in.svg out.png scale\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const int scale = QByteArray(argv[3]).toInt();
    if (!renderer.isValid() || scale < 1) return 1;

    QImage drawn(renderer.defaultSize() * scale, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }

    QImage strip(drawn.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            if (alpha < 110) {
                out[x] = qRgb(255, 0, 255);
                continue;
            }
            const auto over = [alpha](int channel) {
                return (channel * alpha + 255 * (255 - alpha)) / 255;
            };
            out[x] = qRgb(over(qRed(in[x])), over(qGreen(in[x])), over(qBlue(in[x])));
        }
    }
    return strip.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
