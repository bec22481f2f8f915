#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

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
    // Opens the URL with the desktop's handler for it.
    std::function<bool(const QUrl& url)> openUrl;
    // The Exec line of the default handler for text/html, if there is one.
    std::function<std::optional<QString>()> htmlHandlerCommand;
    // Starts a command line without waiting for it.
    std::function<bool(const QString& commandLine)> startDetached;
};

UrlServices DesktopUrlServices();
// Replaces the services; returns the previous ones.
UrlServices SetUrlServices(UrlServices services);

// Opens url: first the desktop's own opener, then the default web browser's
// command line. Returns kOpenSucceeded or an error code.
int GotoURL(const QString& url);

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
