#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

// `lanyan db move --to postgresql://...`: the workstation's database file into an empty shared
// database, and the workstation over to it once every table's rows are there.
namespace DbCommand {

enum Exit { Moved = 0, Failed = 1, BadInput = 2, Stopped = 4 };

extern const QString kUsage;

// `arguments` start with "db". Works on the data home `runPath`; answers the exit code.
int run(const QStringList &arguments, const QString &runPath, QTextStream &out, QTextStream &err,
        const std::function<bool()> &stopRequested = {});

} // namespace DbCommand
