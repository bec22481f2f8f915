#pragma once

#include <QColor>
#include <QRegion>
#include <QWidget>

// The marker shown at the drop position while a caption is dragged: a
// downward arrow above the header and an upward one below it, in one
// window shaped to the two arrows.
namespace pagelark {

class HeaderDropMarker : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 12;

    HeaderDropMarker(QWidget* parent, int height, const QColor& colour);

    // The union of the two arrows for a marker of this height.
    static QRegion Shape(int height);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_colour;
};

}  // namespace pagelark
