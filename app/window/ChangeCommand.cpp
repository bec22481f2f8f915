#include "app/window/ChangeCommand.h"

#include <QProcess>

#include "engine/watch/CommandLine.h"

namespace pagelark {

ChangeCommand::ChangeCommand(ProblemCallback onProblem, QObject* parent)
    : QObject(parent), m_onProblem(std::move(onProblem)) {}

bool ChangeCommand::IsValid(const QString& command) {
    return command.trimmed().isEmpty() || SplitCommandLine(command.toStdString()).has_value();
}

bool ChangeCommand::Run(const QString& command, const std::string& input) {
    const auto words = SplitCommandLine(command.toStdString());
    if (!words) return false;
    const QString program = QString::fromStdString(words->front());
    QStringList arguments;
    for (size_t i = 1; i < words->size(); ++i)
        arguments << QString::fromStdString((*words)[i]);

    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::errorOccurred, this, [this, process, program](auto error) {
        if (error != QProcess::FailedToStart) return;
        m_onProblem(program + ": " + process->errorString());
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this,
            [this, process, program](int code, QProcess::ExitStatus status) {
                if (status == QProcess::CrashExit)
                    m_onProblem(program + ": ended by a signal");
                else if (code != 0)
                    m_onProblem(program + ": exit status " + QString::number(code));
                process->deleteLater();
            });
    process->start(program, arguments);
    process->write(input.data(), static_cast<qint64>(input.size()));
    process->closeWriteChannel();
    return true;
}

}  // namespace pagelark
