#include "app/window/RepeatDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/language/LangString.h"
#include "engine/watch/RepeatSchedule.h"

namespace pagelark {
namespace {

constexpr int kTitle = 202;
constexpr int kBefore = 200;
constexpr int kAfter = 201;
constexpr int kOk = 170;
constexpr int kCancel = 171;

}  // namespace

RepeatDlg::RepeatDlg(int minutes, QWidget* parent) : QDialog(parent) {
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
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(LangText(kOk), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(LangText(kCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int RepeatDlg::Minutes() const {
    return m_minutes->value();
}

}  // namespace pagelark
