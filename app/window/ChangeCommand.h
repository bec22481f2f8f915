#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace pagelark {

// The command the Repeat dialog sets, run after each run with changes as
// pagelark-cli watch --on-change runs it: split like a command line, no
// shell, the changed rows as JSON on its standard input, its output where
// the program's goes. It never holds up the window; a failure is told
// through the callback once it is known ("X: exit status 1", "X: ended by a signal").
class ChangeCommand : public QObject {
    Q_OBJECT

  public:
    using ProblemCallback = std::function<void(const QString& problem)>;

    ChangeCommand(ProblemCallback onProblem, QObject* parent = nullptr);

    // Whether the text is a command the runner can split (or empty: none).
    static bool IsValid(const QString& command);
    // Starts the command with `input`. False, with nothing started, for no
    // command or one that does not split.
    bool Run(const QString& command, const std::string& input);

  private:
    ProblemCallback m_onProblem;
};

}  // namespace pagelark
