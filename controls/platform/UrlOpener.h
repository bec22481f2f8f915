#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "controls/platform/RunProgram.h"

class QWidget;

// Opening a URL with the desktop's programs, and the texts for the ways it
// can fail. Results follow the old shell convention: above 32 is success,
// small numbers name the failure.
namespace pagelark {

inline constexpr int kOpenSucceeded = 33;
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorNoAssociation = 31;

// The desktop services GotoURL uses; tests put fakes in their place.
struct UrlServices {
    // The desktop's opener; the URL follows as one more argument.
    QStringList openerCommand;
    // How long a program is given to say whether it could open the URL. One
    // still running then (a browser started in the foreground) has opened it.
    int timeoutMs = 0;
    // The Exec line of the default handler for text/html, if there is one.
    std::function<std::optional<QString>()> htmlHandlerCommand;
    // Runs a program without a shell and waits up to timeoutMs for its end.
    std::function<ProgramOutcome(const QStringList& argv, int timeoutMs)> runProgram;
};

UrlServices DesktopUrlServices();
// Replaces the services; returns the previous ones.
UrlServices SetUrlServices(UrlServices services);

// Opens url: first the desktop's own opener, then the default web browser's
// command line, with "--" before the URL where that browser takes it (a URL
// that begins with "-" is given to no other browser). Returns kOpenSucceeded
// or an error code.
int GotoURL(const QString& url);

// The result code for how an opener ended: success for a clean exit or one
// still running, 2 for a program that could not be run or a missing file,
// 31 (no application for it) for any other failure.
int OpenResult(const ProgramOutcome& outcome);

// The handler command cut at its first placeholder, then " " and the url. A
// quoted placeholder loses its quotes with it.
QString HandlerCommandLine(const QString& command, const QString& url);

// The text that follows "Unable to open hyperlink:" for a result code.
QString ErrorText(int code);
// The whole message shown for a failed open.
QString ReportErrorMessage(int code);
// Shows that message in a warning box.
void ReportError(QWidget* parent, int code);

}  // namespace pagelark
