#pragma once

class QWidget;

// Child controls carry the numeric id their dialog addresses them by.
namespace pagelark {

void SetDlgCtrlID(QWidget* control, int id);

// The control's id, or 0 when it has none.
int GetDlgCtrlID(const QWidget* control);

// The dialog's control with this id: its direct children first, then deeper
// ones; nullptr when there is none.
QWidget* GetDlgItem(const QWidget* dialog, int id);

}  // namespace pagelark
