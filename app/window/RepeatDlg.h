#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pagelark {

// "Repeat every N minutes (0 = off)" and the command to run when rows
// change, in the interface language. OK stays off while the command has an
// unclosed quote.
class RepeatDlg : public QDialog {
    Q_OBJECT

  public:
    RepeatDlg(int minutes, const QString& command, QWidget* parent = nullptr);
    int Minutes() const;
    QString Command() const;
    QSpinBox* MinutesBox() const { return m_minutes; }
    QLineEdit* CommandBox() const { return m_command; }
    QPushButton* OkButton() const { return m_ok; }

  private:
    QSpinBox* m_minutes = nullptr;
    QLineEdit* m_command = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace pagelark
