#include "controls/platform/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <cstdlib>

namespace pagelark {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The average of 52 letters, rounded.
    m_baseX = (alphabetWidth / 26 + 1) / 2;
    m_baseY = metrics.height();
}

QFont DialogUnits::DialogFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(9);
    return font;
}

int DialogUnits::ToPixelsX(int dluX) const {
    return MulDiv(dluX, m_baseX, 4);
}

int DialogUnits::ToPixelsY(int dluY) const {
    return MulDiv(dluY, m_baseY, 8);
}

QRect DialogUnits::ToPixels(const QRect& dlu) const {
    // Position and size are each converted on their own, as the dialog manager
    // does with a template, so controls of equal size come out equal.
    return QRect(ToPixelsX(dlu.x()), ToPixelsY(dlu.y()), ToPixelsX(dlu.width()),
                 ToPixelsY(dlu.height()));
}

QSize DialogUnits::ToPixels(const QSize& dlu) const {
    return QSize(ToPixelsX(dlu.width()), ToPixelsY(dlu.height()));
}

}  // namespace pagelark
