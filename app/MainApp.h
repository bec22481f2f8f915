#pragma once

#include <QStringList>

// The application object: prepares the process, runs the main window
// modally and ends the program when it returns.
namespace pagelark {

class CMainApp {
  public:
    // Start-up in order: the settings root, the splash flag from the command
    // line, then the main window run modally (with the script file named on
    // the command line loaded as Load does). Returns the window's result.
    int Run(const QStringList& args);
};

}  // namespace pagelark
