#pragma once

#include "data/ServerAddress.h"

#include <QString>

// The answer of a connection test: whether the server let us in, and what the clerk should
// know about the database there. Connects on the calling thread, with a connection of its own.
struct ServerProbe
{
    bool reached = false;
    QString text;

    static ServerProbe of(const ServerAddress &address);
};
