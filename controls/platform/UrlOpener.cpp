#include "controls/platform/UrlOpener.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <utility>

#include "controls/platform/MessageBox.h"

namespace pagelark {
namespace {

UrlServices& CurrentServices() {
    static UrlServices services = DesktopUrlServices();
    return services;
}

// The Exec line of a .desktop file's main group.
std::optional<QString> DesktopExecLine(const QString& desktopFile) {
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopFile);
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
        } else if (inMainGroup && line.startsWith(QLatin1String("Exec="))) {
            return line.mid(5);
        }
    }
    return std::nullopt;
}

std::optional<QString> QueryHtmlHandler() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(5000) || query.exitCode() != 0) return std::nullopt;
    const QString desktopFile = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (desktopFile.isEmpty()) return std::nullopt;
    return DesktopExecLine(desktopFile);
}

// Browsers whose command line takes "--" as the end of its options: those
// built on Chromium's switch parser, on GLib's and on Qt's option parsers.
bool EndsOptionsAtDoubleDash(const QString& program) {
    static const std::array<QLatin1String, 12> kPrograms = {
        QLatin1String("chromium"),      QLatin1String("chromium-browser"),
        QLatin1String("google-chrome"), QLatin1String("google-chrome-stable"),
        QLatin1String("brave-browser"), QLatin1String("microsoft-edge"),
        QLatin1String("vivaldi"),       QLatin1String("opera"),
        QLatin1String("epiphany"),      QLatin1String("epiphany-browser"),
        QLatin1String("falkon"),        QLatin1String("konqueror")};
    const QString name = program.mid(program.lastIndexOf(u'/') + 1);
    return std::find(kPrograms.begin(), kPrograms.end(), name) != kPrograms.end();
}

}  // namespace

UrlServices DesktopUrlServices() {
    UrlServices services;
    services.openerCommand = {QStringLiteral("xdg-open")};
    services.timeoutMs = 5000;
    services.htmlHandlerCommand = QueryHtmlHandler;
    services.runProgram = RunProgram;
    return services;
}

UrlServices SetUrlServices(UrlServices services) {
    return std::exchange(CurrentServices(), std::move(services));
}

QString HandlerCommandLine(const QString& command, const QString& url) {
    static const std::array<QString, 4> kPlaceholders = {
        QStringLiteral("%u"), QStringLiteral("%U"), QStringLiteral("%f"), QStringLiteral("%F")};
    const auto firstOf = [&](bool quoted) {
        qsizetype first = -1;
        for (const QString& placeholder : kPlaceholders) {
            const QString needle =
                quoted ? QLatin1Char('"') + placeholder + QLatin1Char('"') : placeholder;
            const qsizetype at = command.indexOf(needle);
            if (at >= 0 && (first < 0 || at < first)) first = at;
        }
        return first;
    };
    qsizetype cut = firstOf(true);
    if (cut < 0) cut = firstOf(false);
    const QString kept = cut >= 0 ? command.left(cut) : command;
    return kept + QLatin1Char(' ') + url;
}

int OpenResult(const ProgramOutcome& outcome) {
    switch (outcome.kind) {
        case ProgramOutcome::Kind::NotStarted:
            return kErrorFileNotFound;
        case ProgramOutcome::Kind::StillRunning:
            return kOpenSucceeded;
        case ProgramOutcome::Kind::Exited:
            if (outcome.status == 0) return kOpenSucceeded;
            // xdg-open's status for a file that does not exist.
            return outcome.status == 2 ? kErrorFileNotFound : kErrorNoAssociation;
        case ProgramOutcome::Kind::Killed:
            break;
    }
    return kErrorNoAssociation;
}

int GotoURL(const QString& url) {
    const UrlServices& services = CurrentServices();
    if (!services.runProgram) return kErrorFileNotFound;
    int shellResult = kErrorNoAssociation;
    if (!services.openerCommand.isEmpty()) {
        shellResult = OpenResult(
            services.runProgram(services.openerCommand + QStringList{url}, services.timeoutMs));
        if (shellResult > 32) return shellResult;
    }

    const std::optional<QString> command =
        services.htmlHandlerCommand ? services.htmlHandlerCommand() : std::nullopt;
    if (!command || command->trimmed().isEmpty()) return shellResult;

    // The handler's own words are split as its Exec line quotes them; the URL
    // stays one argument whatever it contains.
    QStringList argv = QProcess::splitCommand(HandlerCommandLine(*command, QString()));
    if (argv.isEmpty()) return shellResult;
    // A URL that begins with "-" would be read as an option: "--" ends the
    // options where the browser knows it; any other browser is not given one.
    if (EndsOptionsAtDoubleDash(argv.front())) {
        argv << QStringLiteral("--");
    } else if (url.startsWith(u'-')) {
        return shellResult;
    }
    argv << url;
    return OpenResult(services.runProgram(argv, services.timeoutMs));
}

QString ErrorText(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("The operating system is out\nof memory or resources.");
        case 2:
            return QStringLiteral("The specified file was not found.");
        case 3:
            return QStringLiteral("The specified path was not found.");
        case 5:
            return QStringLiteral("The operating system denied\naccess to the specified file.");
        case 8:
            return QStringLiteral("There was not enough memory to complete the operation.");
        case 11:
            return QStringLiteral(
                "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
        case 26:
            return QStringLiteral("A sharing violation occurred. ");
        case 27:
            return QStringLiteral("The filename association is\nincomplete or invalid.");
        case 28:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because the request timed out.");
        case 29:
            return QStringLiteral("The DDE transaction failed.");
        case 30:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because other DDE "
                "transactions\nwere being processed.");
        case 31:
            return QStringLiteral(
                "There is no application associated\nwith the given filename extension.");
        case 32:
            return QStringLiteral("The specified dynamic-link library was not found.");
        default:
            return QStringLiteral("Unknown Error (%1) occurred.").arg(code);
    }
}

QString ReportErrorMessage(int code) {
    return QStringLiteral("Unable to open hyperlink:\n\n") + ErrorText(code);
}

void ReportError(QWidget* parent, int code) {
    ShowMessageBox(parent, ReportErrorMessage(code), QMessageBox::Warning, QMessageBox::Ok);
}

}  // namespace pagelark
