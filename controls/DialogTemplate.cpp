#include "controls/DialogTemplate.h"

#include <QWidget>

#include "controls/DialogUnits.h"
#include "controls/DlgItem.h"

namespace pagelark {

const DialogControl* DialogTemplate::Find(int controlId) const {
    for (const DialogControl& control : controls) {
        if (control.id == controlId) return &control;
    }
    return nullptr;
}

QSize DialogTemplate::PixelSize(const DialogUnits& units) const {
    return units.ToPixels(QSize(width, height));
}

QRect DialogTemplate::PixelRect(const DialogControl& control, const DialogUnits& units) const {
    return units.ToPixels(control.Rect());
}

void DialogTemplate::PlaceControls(QWidget* dialog, const DialogUnits& units) const {
    for (const DialogControl& control : controls) {
        if (control.id == kNoControlId) continue;
        if (QWidget* widget = GetDlgItem(dialog, control.id)) {
            widget->setGeometry(PixelRect(control, units));
        }
    }
}

}  // namespace pagelark
