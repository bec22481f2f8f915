#pragma once

#include <QWidget>

#include "controls/platform/ImageList.h"

// The gallery's artwork panel: the state images in every draw style on the
// backgrounds they meet, the small animation icons and the product icon.
namespace pagelark {

class ImagePanel : public QWidget {
    Q_OBJECT

  public:
    explicit ImagePanel(QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ImageList m_states;
};

}  // namespace pagelark
