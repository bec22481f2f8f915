#include "controls/platform/DlgItem.h"

#include <QVariant>
#include <QWidget>

namespace pagelark {
namespace {

constexpr const char* kIdProperty = "pagelarkDlgCtrlId";

}  // namespace

void SetDlgCtrlID(QWidget* control, int id) {
    if (control != nullptr) control->setProperty(kIdProperty, id);
}

int GetDlgCtrlID(const QWidget* control) {
    if (control == nullptr) return 0;
    const QVariant id = control->property(kIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

QWidget* GetDlgItem(const QWidget* dialog, int id) {
    if (dialog == nullptr) return nullptr;
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

}  // namespace pagelark
