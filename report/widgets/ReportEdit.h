#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <cstdint>

#include "report/model/ReportNotify.h"

// The list's default in-place editor: an edit box over a cell's text, with a
// "..." browse button when asked for. Tab, Enter and Esc end the edit (the
// key is recorded); any loss of focus other than to its own button ends it,
// once, and tells the list.
namespace pagelark {

class CReportCtrl;

class CReportEdit : public QLineEdit {
    Q_OBJECT

  public:
    // rect: where the edit goes, in the parent's coordinates; flags non-zero
    // asks for the browse button, which takes the height's square at the right.
    CReportEdit(CReportCtrl& owner, QWidget* parent, const QRect& rect, int item, int subItem,
                uint32_t flags);
    ~CReportEdit() override;

    // The starting character: 1 (mouse) or 13 put the caret at the end, 8
    // removes the last character, 9 and 32-40 select all, others replace the text.
    void ApplyStart(uint32_t character);
    uint32_t EndKey() const { return m_endKey; }
    QPushButton* BrowseButton() const { return m_browse; }
    // The list closes the edit itself: no notification follows.
    void MarkEnded() { m_ended = true; }

  protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void Browse();
    // The edit notice with the cell and this editor filled in.
    EditNotify Record();

    CReportCtrl& m_owner;
    const int m_item;
    const int m_subItem;
    const uint32_t m_flags;
    uint32_t m_endKey = 0x0D;
    bool m_ended = false;
    QPointer<QPushButton> m_browse;
};

}  // namespace pagelark
