#pragma once

#include <QString>

#include <functional>

class QWidget;

// The file dialogs of Save, Load and Snap, behind one function that tests
// replace so that no test blocks on a modal dialog.
namespace pagelark {

struct FileChoice {
    bool save = false;    // save: asks before overwriting; open: the file must exist
    QString filter;       // "Script File(*.xml)"
    QString initialName;  // the name offered first
    QString defaultSuffix;
};

// The chosen full path, or an empty text when the user cancelled.
using FileChooser = std::function<QString(QWidget* parent, const FileChoice& choice)>;

QString ChooseFile(QWidget* parent, const FileChoice& choice);

// Replaces the chooser (an empty one restores the real dialog); returns the old.
FileChooser SetFileChooser(FileChooser chooser);

}  // namespace pagelark
