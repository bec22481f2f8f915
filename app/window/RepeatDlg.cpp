#include "app/window/RepeatDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/language/LangString.h"
#include "app/window/ChangeCommand.h"
#include "engine/watch/RepeatSchedule.h"

namespace pagelark {
namespace {

constexpr int kTitle = 202;
constexpr int kBefore = 200;
constexpr int kAfter = 201;
constexpr int kOk = 170;
constexpr int kCancel = 171;
constexpr int kCommand = 208;

}  // namespace

RepeatDlg::RepeatDlg(int minutes, const QString& command, QWidget* parent) : QDialog(parent) {
    QString title = LangText(kTitle);
    title.remove("...");
    setWindowTitle(title);
    auto* row = new QHBoxLayout;
    auto* before = new QLabel(LangText(kBefore), this);
    m_minutes = new QSpinBox(this);
    m_minutes->setRange(0, RepeatSchedule::kMaxMinutes);
    m_minutes->setValue(minutes);
    m_minutes->setAccessibleName(LangText(kBefore));
    before->setBuddy(m_minutes);
    row->addWidget(before);
    row->addWidget(m_minutes);
    row->addWidget(new QLabel(LangText(kAfter), this));
    auto* commandLabel = new QLabel(LangText(kCommand), this);
    commandLabel->setWordWrap(true);
    m_command = new QLineEdit(command, this);
    m_command->setAccessibleName(LangText(kCommand));
    m_command->setMinimumWidth(360);
    commandLabel->setBuddy(m_command);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(LangText(kOk), QDialogButtonBox::AcceptRole);
    m_ok->setDefault(true);
    connect(m_command, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(ChangeCommand::IsValid(text)); });
    m_ok->setEnabled(ChangeCommand::IsValid(command));
    buttons->addButton(LangText(kCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(commandLabel);
    layout->addWidget(m_command);
    layout->addWidget(buttons);
}

int RepeatDlg::Minutes() const {
    return m_minutes->value();
}

QString RepeatDlg::Command() const {
    return m_command->text().trimmed();
}

}  // namespace pagelark
