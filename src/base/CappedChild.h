#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// Runs a piece of work in a forked child process under a memory budget and a time limit, so
// that a library which allocates without bound or loops on a damaged file takes only the child
// down. The work shares nothing back but files it writes and its exit code; it must not touch
// windows or the database connection, which the child inherits but does not own.
class CappedChild
{
public:
    struct Limits
    {
        qint64 memoryBytes = qint64(1) << 30; // beyond what the program already uses
        int seconds = 120;                    // of wall-clock time
        qint64 fileBytes = qint64(4) << 30;   // the largest file the work may write
    };

    enum class End {
        NotStarted,
        Exited,      // the work returned: see code
        OutOfMemory, // stopped at the memory budget
        TimedOut,    // stopped at the time limit
        Crashed      // ended by a signal of its own
    };
    struct Outcome
    {
        End end = End::NotStarted;
        int code = 0; // exit code, or the signal that ended the child
        bool succeeded() const { return end == End::Exited && code == 0; }
    };

    // `waiting`, when given, is called every few milliseconds until the child ends (a window
    // keeps painting).
    static Outcome run(const std::function<int()> &work, const Limits &limits,
                       const std::function<void()> &waiting = {});
    // Why the child did not finish, for a message.
    static QString explain(const Outcome &outcome);
};
