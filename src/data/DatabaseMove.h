#pragma once

#include "data/ServerAddress.h"

#include <QString>
#include <functional>
#include <vector>

class DataHome;
class IniFile;

// Moves a workstation's embedded database file into an empty shared database: the schema and
// every row in one transaction on the server, committed only when each table holds as many
// rows as the file. Runs on whichever thread calls it, with connections of its own.
class DatabaseMove
{
public:
    struct TableCount
    {
        QString table;
        qint64 source = 0;
        qint64 target = -1; // -1 until counted on the server
    };

    struct Result
    {
        bool ok = false;
        bool stopped = false;
        QString error; // for the user; empty when ok or stopped
        std::vector<TableCount> counts;
        qint64 rows = 0;
    };

    // Rows copied so far of all; called on the thread that runs the move.
    std::function<void(qint64 done, qint64 total)> progress;
    // Asked between batches of rows; true throws the copy away.
    std::function<bool()> stopRequested;

    Result copy(const QString &sqliteFile, const ServerAddress &target);

    // Makes the workstation use the shared database from its next start. Answers the error
    // text, empty on success.
    static QString switchWorkstation(IniFile &config, const DataHome &home,
                                     const ServerAddress &target);
};
