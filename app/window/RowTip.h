#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace pagelark {

class CReportCtrl;

// A row's own tip: when the mouse rests over a row, the text the window
// gives for that item (say why it failed) shows as a tooltip. The list's own
// tip over clipped cells goes on as before; rows without a text show none.
class RowTip : public QObject {
  public:
    // `textOf` gets the row's item index and answers "" for no tip.
    RowTip(CReportCtrl& list, std::function<QString(int item)> textOf);

    // The text the tip would show over this point of the list's viewport.
    QString TextAt(const QPoint& at) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CReportCtrl& m_list;
    std::function<QString(int)> m_textOf;
};

}  // namespace pagelark
