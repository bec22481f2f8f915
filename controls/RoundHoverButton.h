#pragma once

#include "controls/HoverButton.h"

// A hover button whose lit face is a plain or rounded outlined rectangle
// instead of a 3D frame.
namespace pagelark {

class RoundHoverButton : public HoverButton {
    Q_OBJECT

  public:
    explicit RoundHoverButton(QWidget* parent = nullptr, int style = BS_PUSHBUTTON);

    int SetRound(bool round, bool repaint = true);
    bool IsRound() const { return m_round; }

  protected:
    int OnDrawBackground(QPainter& painter, const QRect& rect) override;
    int OnDrawBorder(QPainter& painter, const QRect& rect) override;

  private:
    bool m_round = false;
};

}  // namespace pagelark
