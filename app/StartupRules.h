#pragma once

#include <QStringList>

// The parts of start-up that need no window.
namespace pagelark {

// The per-user settings root; nothing is ever stored under it.
inline constexpr const char* kSettingsRoot = "Quillmoor Software";

// Gives the application its settings root name.
void NameSettingsRoot();

// Whether the command line lets the splash show: not when the program was
// started for embedding or automation, that is with a flag "Embedding" or
// "Automation" (any letter case) after '/' or '-'. args[0] is the program.
bool SplashAllowed(const QStringList& args);

// The script file named on the command line (the first argument that is no
// flag; a path may start with '/'), or an empty text.
QString ScriptArgument(const QStringList& args);

}  // namespace pagelark
