#include "app/render/RenderHelper.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <string>

#include "app/render/RenderPool.h"
#include "engine/render/RenderProtocol.h"

namespace pagelark {
namespace {

// Why this process cannot render at all, or "": the browser engine refuses
// to start as root with its sandbox on, and would only die trying.
std::string StartProblem() {
    if (::geteuid() != 0) return {};
    if (qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS")
            .contains(QLatin1String("--no-sandbox")) ||
        qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        return {};
    return "the browser engine does not run as root with its sandbox; set "
           "QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox to render as root";
}

// Writes the whole frame; a program that went away ends the helper anyway.
void Send(int channel, const RenderFrame& frame) {
    const std::string bytes = EncodeRenderFrame(frame);
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t wrote =
            ::send(channel, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return;
        sent += static_cast<size_t>(wrote);
    }
}

RenderFrame OutcomeFrame(uint64_t ticket, RenderOutcome outcome) {
    if (outcome.ok) return {RenderFrame::Type::Done, ticket, 0, std::move(outcome.html)};
    return {RenderFrame::Type::Failed, ticket, static_cast<uint64_t>(outcome.failure.kind),
            std::move(outcome.failure.detail)};
}

}  // namespace

int RunRenderHelper(int argc, char** argv) {
    // The socket moves off standard input, which becomes /dev/null, so the
    // processes the engine starts do not hold it open after this one ends.
    const int channel = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    if (channel < 0) return 1;
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing >= 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::close(nothing);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const std::string problem = StartProblem();

    RenderPool pool;
    RenderFrameReader reader;
    QSocketNotifier incoming(channel, QSocketNotifier::Read);
    QObject::connect(&incoming, &QSocketNotifier::activated, &application, [&] {
        char chunk[65536];
        const ssize_t got = ::recv(channel, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
        if (got <= 0) {
            incoming.setEnabled(false);
            QApplication::quit();
            return;
        }
        reader.Feed(std::string_view(chunk, static_cast<size_t>(got)));
        while (std::optional<RenderFrame> frame = reader.Next()) {
            const uint64_t ticket = frame->ticket;
            if (frame->type == RenderFrame::Type::Cancel) {
                pool.Cancel(ticket);
            } else if (frame->type != RenderFrame::Type::Render) {
                continue;
            } else if (!problem.empty()) {
                RenderOutcome outcome;
                outcome.failure = {RenderFailure::Kind::Other, problem};
                Send(channel, OutcomeFrame(ticket, std::move(outcome)));
            } else {
                pool.Render(ticket, QString::fromStdString(frame->payload),
                            std::chrono::milliseconds(frame->number),
                            [channel, ticket](RenderOutcome outcome) {
                                Send(channel, OutcomeFrame(ticket, std::move(outcome)));
                            });
            }
        }
        if (reader.Broken()) {
            incoming.setEnabled(false);
            QApplication::quit();
        }
    });
    const int status = QApplication::exec();
    ::close(channel);
    return status;
}

}  // namespace pagelark
