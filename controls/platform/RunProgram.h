#pragma once

#include <QStringList>

// Starts a program directly (no shell between it and its arguments) and waits
// a while for it to end.
namespace pagelark {

struct ProgramOutcome {
    enum class Kind {
        NotStarted,    // the program could not be found or run
        Exited,        // it ended by itself; status holds its exit status
        Killed,        // a signal ended it
        StillRunning,  // it was still running when the wait ran out
    };
    Kind kind = Kind::NotStarted;
    int status = 0;
};

// argv[0] is looked up on PATH. A program still running after timeoutMs is
// left running and reaped in the background when it ends.
ProgramOutcome RunProgram(const QStringList& argv, int timeoutMs);

}  // namespace pagelark
