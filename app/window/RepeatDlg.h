#pragma once

#include <QDialog>

#include "engine/watch/ChangeTracker.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pagelark {

// "Repeat every N minutes (0 = off)", the command to run when rows change,
// whether a change counts only when seen twice in a row, and after how many
// runs without a good Result a row needs attention, in the interface
// language. OK stays off while the command has an unclosed quote.
class RepeatDlg : public QDialog {
    Q_OBJECT

  public:
    RepeatDlg(int minutes, const QString& command, const ChangeRules& rules,
              QWidget* parent = nullptr);
    int Minutes() const;
    QString Command() const;
    ChangeRules Rules() const;
    QCheckBox* ConfirmBox() const { return m_confirm; }
    QSpinBox* AttentionBox() const { return m_attention; }
    QSpinBox* MinutesBox() const { return m_minutes; }
    QLineEdit* CommandBox() const { return m_command; }
    QPushButton* OkButton() const { return m_ok; }

  private:
    QSpinBox* m_minutes = nullptr;
    QLineEdit* m_command = nullptr;
    QPushButton* m_ok = nullptr;
    QCheckBox* m_confirm = nullptr;
    QSpinBox* m_attention = nullptr;
    ChangeRules m_rules;
};

}  // namespace pagelark
