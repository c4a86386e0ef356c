#pragma once

#include "data/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDatabase;

// The whole table and column contract, as code. Column types are written as SQLite declares
// them ("autonumber" columns are INTEGER PRIMARY KEY AUTOINCREMENT); Database maps them for
// PostgreSQL.
struct SchemaColumn
{
    QString name;
    QString type;
};

struct SchemaTable
{
    QString name;
    std::vector<SchemaColumn> columns;
    QString createSql(Database::Backend backend = Database::Backend::Sqlite) const;
};

namespace Schema {

const std::vector<SchemaTable> &tables();
const SchemaTable *table(const QString &name);

// The schema version this program writes.
int latestVersion();

// Keeps the first row of each template's item name (case aside) and makes the pair unique.
bool makeItemNamesUnique(QSqlDatabase &db, QString *error);

// After rows came in with their own keys (an upgrade, a move): the table's autonumber goes on
// above them. SQLite's does by itself; a PostgreSQL identity would hand out their keys again.
bool continueNumbering(QSqlDatabase &db, const QString &table, QString *error);

// Brings the database from `fromVersion` to latestVersion(), one migration per transaction;
// seeds a database that starts empty (version 0). Answers an error text, empty on success.
QString migrate(QSqlDatabase &db, int fromVersion);
// The same steps inside a transaction the caller holds, so they stand or fall with its work.
QString migrateWithin(QSqlDatabase &db, int fromVersion);

} // namespace Schema
