#include "app/help/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/language/DialogTemplates.h"
#include "app/language/InterfaceFont.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/LinkLabel.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

constexpr int kTitle = 153;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setFont(InterfaceFont(UiLanguage));
    CreateControls();
    setWindowTitle(LangText(kTitle));
}

void CAboutDlg::CreateControls() {
    const DialogTemplate* dialog = FindDialogTemplate(IDD_ABOUTBOX);
    const DialogUnits units(font());
    for (const DialogControl& control : dialog->controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::Icon: {
                auto* icon = new QLabel(this);
                const QRect place = dialog->PixelRect(control, units);
                icon->setPixmap(LoadIcon(control.iconIn).pixmap(place.size().boundedTo({32, 32})));
                icon->setGeometry(place);
                break;
            }
            case ControlKind::Label:
                widget = new QLabel(LangText(control.textId), this);
                break;
            case ControlKind::LinkLabel: {
                const QString address = LangText(control.textId);
                const QString url =
                    control.id == IDC_SUPPORT ? QStringLiteral("mailto:") + address : address;
                auto* link = new LinkLabel(this, address, url);
                connect(link, &LinkLabel::linkClicked, link, &LinkLabel::OpenLink);
                widget = link;
                break;
            }
            case ControlKind::DefaultButton: {
                auto* ok = new QPushButton(LangText(control.textId), this);
                ok->setDefault(true);
                connect(ok, &QPushButton::clicked, this, &QDialog::accept);
                widget = ok;
                break;
            }
            default:
                break;
        }
        if (widget != nullptr) SetDlgCtrlID(widget, control.id);
    }
    dialog->ApplyFrame(this, units);
    dialog->PlaceControls(this, units);
}

LinkLabel* CAboutDlg::Link(int id) const {
    return qobject_cast<LinkLabel*>(GetDlgItem(this, id));
}

}  // namespace pagelark
