#include "app/editors/ItemEditorDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/editors/FilterPanel.h"
#include "app/language/DialogTemplates.h"
#include "app/language/InterfaceFont.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/HoverButtonModel.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/MessageBox.h"

namespace pagelark {
namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kAddTitle = 150;
constexpr int kEditTitle = 151;
constexpr const char* kAddUrl = "http://";
constexpr int kRenderTip = 301;

}  // namespace

ItemEditorDlg::ItemEditorDlg(int templateId, QWidget* parent) : QDialog(parent) {
    setFont(InterfaceFont(UiLanguage));
    CreateControls(templateId);
    m_filters = new FilterPanel(this);
    setWindowTitle(LangText(templateId == IDD_EDIT_ITEM ? kEditTitle : kAddTitle));
    if (templateId != IDD_EDIT_ITEM) SetFields({"", "", kAddUrl});
}

void ItemEditorDlg::CreateControls(int templateId) {
    const DialogTemplate* dialog = FindDialogTemplate(templateId);
    if (dialog == nullptr) dialog = FindDialogTemplate(IDD_ADD_ITEM);
    QLabel* caption = nullptr;  // the label waiting for the edit it names
    for (const DialogControl& control : dialog->controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::Label:
            case ControlKind::RightLabel: {
                caption = new QLabel(LangText(control.textId), this);
                caption->setAlignment(
                    (control.kind == ControlKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) |
                    Qt::AlignTop);
                widget = caption;
                break;
            }
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(this);
                // Screen readers name the edit after its caption.
                if (caption != nullptr) caption->setBuddy(edit);
                caption = nullptr;
                widget = edit;
                break;
            }
            case ControlKind::CheckBox: {
                auto* box = new QCheckBox(LangText(control.textId), this);
                box->setToolTip(LangText(kRenderTip));
                widget = box;
                break;
            }
            case ControlKind::Button:
            case ControlKind::DefaultButton: {
                auto* button = new QPushButton(LangText(control.textId), this);
                if ((control.style & kButtonTypeMask) == BS_DEFPUSHBUTTON) {
                    button->setDefault(true);
                }
                if (control.id == kIdOk)
                    connect(button, &QPushButton::clicked, this, &QDialog::accept);
                if (control.id == kIdCancel)
                    connect(button, &QPushButton::clicked, this, &QDialog::reject);
                widget = button;
                break;
            }
            default:
                break;
        }
        if (widget != nullptr) SetDlgCtrlID(widget, control.id);
    }
    const DialogUnits units(font());
    dialog->ApplyFrame(this, units);
    dialog->PlaceControls(this, units);
}

QLineEdit* ItemEditorDlg::Edit(int id) const {
    return qobject_cast<QLineEdit*>(GetDlgItem(this, id));
}

QCheckBox* ItemEditorDlg::RenderBox() const {
    return qobject_cast<QCheckBox*>(GetDlgItem(this, IDC_ITEM_RENDER));
}

void ItemEditorDlg::SetFields(const ItemFields& fields) {
    const std::pair<int, const std::string&> texts[] = {
        {IDC_ITEM_NAME, fields.name}, {IDC_ITEM_FILTER, fields.filter}, {IDC_ITEM_URL, fields.url}};
    for (const auto& [id, text] : texts) {
        QLineEdit* edit = Edit(id);
        edit->setText(QString::fromStdString(text));
        // From the start, as the user reads it: a long URL shows its scheme.
        edit->setCursorPosition(0);
    }
    RenderBox()->setChecked(fields.render);
}

ItemFields ItemEditorDlg::Fields() const {
    return {Edit(IDC_ITEM_NAME)->text().toStdString(), Edit(IDC_ITEM_FILTER)->text().toStdString(),
            Edit(IDC_ITEM_URL)->text().toStdString(), RenderBox()->isChecked()};
}

void ItemEditorDlg::accept() {
    if (const int message = CheckItemFields(Fields())) {
        ShowMessageBox(this, LangText(message), QMessageBox::Warning, QMessageBox::Ok);
        return;
    }
    QDialog::accept();
}

std::optional<ItemFields> RunAddItemDialog(QWidget* parent) {
    ItemEditorDlg dialog(IDD_ADD_ITEM, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Fields();
}

std::optional<ItemFields> RunEditItemDialog(QWidget* parent, const ItemFields& current) {
    ItemEditorDlg dialog(IDD_EDIT_ITEM, parent);
    dialog.SetFields(current);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Fields();
}

}  // namespace pagelark
