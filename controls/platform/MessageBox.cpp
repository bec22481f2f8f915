#include "controls/platform/MessageBox.h"

#include <utility>

namespace pagelark {
namespace {

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons) {
    if (const auto& handler = CurrentHandler()) return handler(parent, text, icon, buttons);
    QMessageBox box(icon, QString::fromLatin1(kMessageBoxCaption), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace pagelark
