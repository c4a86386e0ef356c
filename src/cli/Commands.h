#pragma once

#include <QStringList>

// The commands that run without windows: `lanyan print ...`, and the help of them all.
namespace Commands {

// Whether the program's arguments ask for a command rather than the windows.
bool isCommand(const QStringList &arguments);

// The file the windows open with (`lanyan 票据包.lyb`, as the desktop opens a package): the first
// argument when it is neither a command nor an option, as an absolute path; empty otherwise.
QString fileToOpen(const QStringList &arguments);

// Runs the command the arguments name on the data home of the windows and answers the exit
// code: 0 done, 2 bad input, 3 printer refused, 4 stopped.
int run(const QStringList &arguments);

} // namespace Commands
