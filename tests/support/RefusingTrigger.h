#pragma once

#include "data/Database.h"

#include <QString>

// Makes the database refuse a write, as a full disk or a lock would, on either engine. The
// condition reads NEW or OLD; an empty one refuses every row.
struct RefusingTrigger
{
    enum class Drops {
        Statement,  // the refused statement fails, the transaction goes on
        Transaction // the whole transaction is lost with it, the way a failed commit loses it
    };

    QString name;
    QString event; // "INSERT", "UPDATE" or "DELETE"
    QString table;
    QString condition;
    Drops drops = Drops::Statement;
    QString message = QStringLiteral("refused"); // the error the database answers

    bool install(Database &db) const;
    bool remove(Database &db) const;
};
