#include "controls/DialogTemplate.h"

#include <QWidget>

#include "controls/LinkLabel.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/WindowStyles.h"

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
            // A link label sizes itself to its text from where it was put.
            if (auto* link = qobject_cast<LinkLabel*>(widget)) link->PositionWindow();
        }
    }
}

Qt::WindowFlags DialogTemplate::WindowFlags() const {
    Qt::WindowFlags flags = (exStyle & WS_EX_APPWINDOW) != 0 ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((style & WS_MINIMIZEBOX) != 0) flags |= Qt::WindowMinimizeButtonHint;
    if ((style & WS_MAXIMIZEBOX) != 0) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

bool DialogTemplate::IsResizable() const {
    return (style & WS_THICKFRAME) != 0;
}

void DialogTemplate::ApplyFrame(QWidget* dialog, const DialogUnits& units) const {
    dialog->setWindowFlags(WindowFlags());
    const QSize size = PixelSize(units);
    if (IsResizable()) {
        dialog->resize(size);
    } else {
        dialog->setFixedSize(size);
    }
}

}  // namespace pagelark
