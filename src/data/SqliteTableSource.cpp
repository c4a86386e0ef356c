#include "data/SqliteTableSource.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace {

QString quoted(QString identifier)
{
    return u'"' + identifier.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

class SqliteRow : public SourceRow
{
public:
    explicit SqliteRow(const QSqlQuery &query)
        : m_query(query)
    {}
    bool hasColumn(const QString &column) const override
    {
        return m_query.record().indexOf(column) >= 0;
    }
    QVariant value(const QString &column) const override
    {
        const int i = m_query.record().indexOf(column);
        if (i < 0 || m_query.isNull(i))
            return {};
        return m_query.value(i);
    }

private:
    const QSqlQuery &m_query;
};

} // namespace

std::unique_ptr<SqliteTableSource> SqliteTableSource::open(const QString &path, QString *error)
{
    const QString name = u"source-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<SqliteTableSource> source(new SqliteTableSource(name));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    // Reading the schema fails on a file that is damaged beyond its first page.
    QSqlQuery probe(db);
    if (!db.open() || !probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
        *error = db.isOpen() ? probe.lastError().text() : db.lastError().text();
        return nullptr;
    }
    return source;
}

SqliteTableSource::SqliteTableSource(QString connectionName)
    : m_connectionName(std::move(connectionName))
{}

SqliteTableSource::~SqliteTableSource()
{
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QStringList SqliteTableSource::tableNames() const
{
    return QSqlDatabase::database(m_connectionName, false).tables();
}

QStringList SqliteTableSource::columnNames(const QString &table) const
{
    const QSqlRecord record = QSqlDatabase::database(m_connectionName, false).record(table);
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

bool SqliteTableSource::forEachRow(const QString &table, const std::optional<Filter> &filter,
                                   const Visit &visit, QString *error) const
{
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    QString sql = u"select * from " + quoted(table);
    if (filter)
        sql += u" where " + quoted(filter->column) + u" = ?";
    if (!q.prepare(sql)) {
        *error = q.lastError().text();
        return false;
    }
    if (filter)
        q.addBindValue(filter->value);
    if (!q.exec()) {
        *error = q.lastError().text();
        return false;
    }
    const SqliteRow row(q);
    while (q.next()) {
        if (!visit(row))
            return true;
    }
    // A page that cannot be read ends the rows early with an error.
    if (q.lastError().isValid()) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}
