#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Every message box of the program goes through here, captioned with the
// program's name. Tests put their own handler in place so nothing blocks on a
// modal box.
namespace pagelark {

inline constexpr const char* kMessageBoxCaption = "Pagelark";

using MessageBoxHandler = std::function<QMessageBox::StandardButton(
    QWidget* parent, const QString& text, QMessageBox::Icon icon,
    QMessageBox::StandardButtons buttons)>;

// Shows the box and returns the button the user chose.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Replaces the handler (an empty one restores the real box); returns the old.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace pagelark
