#pragma once

#include <QDialog>

class QSpinBox;

namespace pagelark {

// "Repeat every N minutes (0 = off)", in the interface language.
class RepeatDlg : public QDialog {
    Q_OBJECT

  public:
    RepeatDlg(int minutes, QWidget* parent = nullptr);
    int Minutes() const;
    QSpinBox* MinutesBox() const { return m_minutes; }

  private:
    QSpinBox* m_minutes = nullptr;
};

}  // namespace pagelark
