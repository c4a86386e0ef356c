#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Runs the reader helper (lanyan-reader, see program()) on one outside file, under
// resource limits set in the child before it starts, and waits for it. A library that
// allocates without end, loops or crashes on a damaged file takes only the helper down; the
// program is told why. See ReaderProtocol for what the helper answers.
class ReaderProcess
{
public:
    struct Limits
    {
        qint64 residentBytes = qint64(256) << 20; // memory really used
        qint64 addressBytes = qint64(1) << 30;    // memory reserved, which fails allocations
        int seconds = 120;                        // of processor and of wall-clock time
        qint64 fileBytes = qint64(4) << 30;       // the largest file the helper may write
    };

    // Called every few milliseconds while the helper runs, with its last report (total 0
    // while unknown); answering false stops the helper (an abort by the user).
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    enum class End {
        NotStarted,
        Finished,    // the file was read
        Refused,     // the helper read no further and wrote why
        OutOfMemory, // stopped at a memory limit
        TimedOut,    // stopped at a time limit
        Crashed,     // ended by a signal or an unexpected exit code
        Aborted      // stopped because `progress` answered false
    };

    // Runs the helper with `arguments` until it ends.
    static End run(const QStringList &arguments, const Limits &limits, const Progress &progress);
    // Why the helper did not finish, for a message.
    static QString explain(End end);

    // The helper: $LANYAN_READER when set (tests, a development tree), otherwise the one in
    // the running program's folder, otherwise the installed one (libexec/lanyan beside bin).
    static QString program();
};
