#pragma once

#include "data/ServerAddress.h"

#include <QString>

class DataHome;
class IniFile;

// Which database this workstation uses: the embedded file (本机数据库) or an office's shared
// server (共享数据库). Kept in Config.ini's [Database] section; the password alone lives in a
// file of the data home that only its owner may read.
struct DatabaseChoice
{
    enum class Kind { Local, Shared };
    Kind kind = Kind::Local;
    ServerAddress server;

    // The server's address is read whichever kind is chosen.
    static DatabaseChoice read(const IniFile &config, const DataHome &home);
    // Stores the choice and the password; answers the error text, empty on success.
    QString write(IniFile &config, const DataHome &home) const;

    static QString passwordPath(const DataHome &home);
    // The name this workstation's records carry: Workstation= in [Database], else the
    // machine's host name.
    static QString workstation(const IniFile &config);
};
