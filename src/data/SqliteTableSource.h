#pragma once

#include "data/TableSource.h"

#include <QSqlDatabase>

// An SQLite file written elsewhere (a template package), opened read only on a connection of
// its own. Only stored tables and columns are read, by name, each value within the limits.
class SqliteTableSource : public TableSource
{
public:
    static std::unique_ptr<SqliteTableSource> open(const QString &path, QString *error);
    ~SqliteTableSource() override;

    QStringList tableNames() const override;
    QStringList columnNames(const QString &table) const override;
    QString refusedColumns(const QString &table) const override;
    bool forEachRow(const QString &table, const std::optional<Filter> &filter, const Visit &visit,
                    QString *error) const override;

private:
    explicit SqliteTableSource(QString connectionName);
    QSqlDatabase db() const;
    // The table's columns; false with *error when it is missing or computes any of them.
    bool readColumns(const QString &table, QStringList *names, QString *error) const;

    QString m_connectionName;
};
