#include "controls/platform/Resources.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <map>

namespace pagelark {
namespace {

QString IconPath(int id) {
    return QStringLiteral(":/icons/%1.svg").arg(id);
}

// "\n", "\t" and "\\" are the only escapes; anything else stays as written.
std::string Unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n' || next == 't' || next == '\\') {
                out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Reads "<number><TAB>rest" lines, skipping blank and '#' lines.
template <typename Fn>
void ForEachTableLine(const QString& path, Fn&& fn) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n')) line.chop(1);
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        const int tab = line.indexOf('\t');
        if (tab <= 0) continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (!ok) continue;
        fn(id, line.mid(tab + 1));
    }
}

const std::map<int, std::string>& StringTable() {
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> entries;
        ForEachTableLine(QStringLiteral(":/strings.txt"), [&](int id, const QByteArray& rest) {
            entries[id] = Unescape(rest.toStdString());
        });
        return entries;
    }();
    return table;
}

const std::map<int, MenuResource>& MenuTable() {
    static const std::map<int, MenuResource> table = [] {
        std::map<int, MenuResource> menus;
        ForEachTableLine(QStringLiteral(":/menus.txt"), [&](int id, const QByteArray& rest) {
            const int tab = rest.indexOf('\t');
            if (tab <= 0) return;
            bool ok = false;
            const int command = rest.left(tab).toInt(&ok);
            if (!ok) return;
            menus[id].items.push_back({command, QString::fromUtf8(rest.mid(tab + 1))});
        });
        return menus;
    }();
    return table;
}

qreal ScreenRatio() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? qApp->devicePixelRatio()
               : 1.0;
}

}  // namespace

QIcon LoadIcon(int id) {
    const QString path = IconPath(id);
    if (!QFile::exists(path)) return QIcon();
    return QIcon(path);
}

QSize IconSize(int id) {
    const QString path = IconPath(id);
    if (!QFile::exists(path)) return QSize();
    const QSvgRenderer renderer(path);
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

// The SVG at `path` drawn at `scale` times its own size; null when unreadable.
static QImage RenderSvg(const QString& path, qreal scale) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return QImage();
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QImage LoadBitmapImage(int id, int scale) {
    if (scale < 1) scale = 1;
    const QString png = scale == 1 ? QStringLiteral(":/bitmaps/%1.png").arg(id)
                                   : QStringLiteral(":/bitmaps/%1@%2x.png").arg(id).arg(scale);
    if (QFile::exists(png)) return QImage(png);

    return RenderSvg(QStringLiteral(":/bitmaps/%1.svg").arg(id), scale);
}

QPixmap LoadBitmap(int id) {
    const qreal ratio = ScreenRatio();
    const QString svg = QStringLiteral(":/bitmaps/%1.svg").arg(id);
    const QString png = QStringLiteral(":/bitmaps/%1.png").arg(id);
    const QString png2x = QStringLiteral(":/bitmaps/%1@2x.png").arg(id);
    QImage image;
    if (QFile::exists(png)) {
        // A PNG is used as drawn; its double-size copy serves high-density screens.
        const bool dense = ratio > 1.0 && QFile::exists(png2x);
        image = QImage(dense ? png2x : png);
        image.setDevicePixelRatio(dense ? 2.0 : 1.0);
    } else if (QFile::exists(svg)) {
        image = RenderSvg(svg, ratio);
        image.setDevicePixelRatio(ratio);
    }
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

std::optional<std::string> LoadString(int id) {
    const auto& table = StringTable();
    const auto it = table.find(id);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

std::optional<MenuResource> LoadMenu(int id) {
    const auto& table = MenuTable();
    const auto it = table.find(id);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

}  // namespace pagelark
