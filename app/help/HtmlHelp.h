#pragma once

#include <QString>

class QWidget;

// The program's help: the compiled help file and the window that shows it.
namespace pagelark {

class HelpWindow;

// Where "help.chm" is looked for: beside the program (the build folder),
// else where an installation puts it.
QString HelpFilePath();

// Shows the help file's default topic in the help window (one for the
// program, raised when it is already open) and returns at once. A missing
// file is reported in the window. The window is a top-level window of its
// own, owned by `owner` only so that the modal main window does not block it.
HelpWindow* ShowHelp(QWidget* owner);

}  // namespace pagelark
