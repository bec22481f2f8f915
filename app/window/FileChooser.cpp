#include "app/window/FileChooser.h"

#include <QFileDialog>

#include <utility>

namespace pagelark {
namespace {

FileChooser& CurrentChooser() {
    static FileChooser chooser;
    return chooser;
}

}  // namespace

QString ChooseFile(QWidget* parent, const FileChoice& choice) {
    if (const FileChooser& chooser = CurrentChooser()) return chooser(parent, choice);
    QFileDialog dialog(parent);
    dialog.setNameFilter(choice.filter);
    dialog.setDefaultSuffix(choice.defaultSuffix);
    if (choice.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!choice.initialName.isEmpty()) dialog.selectFile(choice.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

FileChooser SetFileChooser(FileChooser chooser) {
    return std::exchange(CurrentChooser(), std::move(chooser));
}

}  // namespace pagelark
