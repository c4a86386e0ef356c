#pragma once

#include <QString>

// The data home: the folder that holds Data/, Image/, Temp/, Config.ini and Debug.ini, always
// with a trailing '/'. Chosen in order: $LANYAN_HOME; the executable's folder when it is
// writable and holds Data/ (a portable install); $XDG_DATA_HOME/lanyan/.
QString getRunPath();

// The choice itself, for a given environment; getRunPath() caches its answer.
QString resolveRunPath(const QString &envHome, const QString &exeDir, const QString &xdgDataHome);

// True when the program was started from inside an archive or a temporary folder, where its
// settings would be lost: the path holds "$" or a folder named "Temp".
bool isRunFromArchive(const QString &dir);
