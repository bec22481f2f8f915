#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts dialog units to pixels for one dialog font: a horizontal unit is a
// quarter of the font's average character width, a vertical one an eighth of
// its height.
namespace pagelark {

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    // The dialog font: the desktop's sans font at 9 points.
    static QFont DialogFont();

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

    int ToPixelsX(int dluX) const;
    int ToPixelsY(int dluY) const;
    QRect ToPixels(const QRect& dlu) const;
    QSize ToPixels(const QSize& dlu) const;

  private:
    int m_baseX = 0;
    int m_baseY = 0;
};

// a * b / c rounded half away from zero, as the platform's dialog mapping does.
int MulDiv(int a, int b, int c);

}  // namespace pagelark
