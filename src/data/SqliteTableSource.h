#pragma once

#include "data/TableSource.h"

#include <QSqlDatabase>

// An SQLite file written elsewhere (a template package), opened read only on a connection of
// its own.
class SqliteTableSource : public TableSource
{
public:
    static std::unique_ptr<SqliteTableSource> open(const QString &path, QString *error);
    ~SqliteTableSource() override;

    QStringList tableNames() const override;
    QStringList columnNames(const QString &table) const override;
    bool forEachRow(const QString &table, const std::optional<Filter> &filter, const Visit &visit,
                    QString *error) const override;

private:
    explicit SqliteTableSource(QString connectionName);

    QString m_connectionName;
};
