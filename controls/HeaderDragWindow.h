#pragma once

#include <QWidget>

#include "common/ReportHeader.h"

// The floating copy of a caption being dragged: a frameless window on top of
// everything that paints the item as the header does, inside a raised frame.
namespace pagelark {

class CFlatHeaderCtrl;

class HeaderDragWindow : public QWidget {
    Q_OBJECT

  public:
    // screenRect: where the item lies on the screen; the window starts there.
    HeaderDragWindow(CFlatHeaderCtrl& header, const HeaderItem& item, bool sorted, bool ascending,
                     const QRect& screenRect);

    // Puts the window's centre on the cursor.
    void CentreOn(const QPoint& globalPos);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CFlatHeaderCtrl& m_header;
    HeaderItem m_item;
    bool m_sorted;
    bool m_ascending;
};

}  // namespace pagelark
