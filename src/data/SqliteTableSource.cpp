#include "data/SqliteTableSource.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <sqlite3.h>

namespace {

QString quoted(QString identifier)
{
    return u'"' + identifier.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A read error with a sentence of ours first; the library's own text follows for support.
QString readError(const QString &table, const QSqlError &error)
{
    if (error.nativeErrorCode() == QString::number(SQLITE_TOOBIG))
        return QStringLiteral("表 %1 中有超过 %2 MB 的值")
            .arg(table)
            .arg(TableSource::kMaxValueBytes >> 20);
    return u"读取表 " + table + u" 失败：" + error.text();
}

class SqliteRow : public SourceRow
{
public:
    SqliteRow(const QSqlQuery &query, const QStringList &columns)
        : m_query(query)
    {
        for (int i = 0; i < columns.size(); ++i)
            m_index.insert(columns[i].toCaseFolded(), i);
    }
    bool hasColumn(const QString &column) const override
    {
        return m_index.contains(column.toCaseFolded());
    }
    QVariant value(const QString &column) const override
    {
        const int i = m_index.value(column.toCaseFolded(), -1);
        if (i < 0 || m_query.isNull(i))
            return {};
        return m_query.value(i);
    }

private:
    const QSqlQuery &m_query;
    QHash<QString, int> m_index;
};

// The first text value of the row beyond the text limit, as its column's position; -1 if none.
int oversizedText(const QSqlQuery &q, int columns)
{
    for (int i = 0; i < columns; ++i) {
        const QVariant v = q.value(i);
        if (v.typeId() == QMetaType::QString &&
            v.toString().toUtf8().size() > TableSource::kMaxTextBytes)
            return i;
    }
    return -1;
}

} // namespace

std::unique_ptr<SqliteTableSource> SqliteTableSource::open(const QString &path, QString *error)
{
    const QString name = u"source-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<SqliteTableSource> source(new SqliteTableSource(name));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        *error = u"无法打开文件：" + db.lastError().text();
        return nullptr;
    }
    // A value beyond the limit fails at once instead of being read into memory, and the
    // file's own schema never runs functions of ours.
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        *error = QStringLiteral("无法设置读取限制");
        return nullptr;
    }
    sqlite3_limit(*static_cast<sqlite3 *const *>(handle.constData()), SQLITE_LIMIT_LENGTH,
                  int(kMaxValueBytes));
    QSqlQuery probe(db);
    // Reading the schema fails on a file that is damaged beyond its first page.
    if (!probe.exec(QStringLiteral("pragma trusted_schema = off")) ||
        !probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
        *error = u"文件已损坏：" + probe.lastError().text();
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

QSqlDatabase SqliteTableSource::db() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QStringList SqliteTableSource::tableNames() const
{
    // Stored tables only: a view or a virtual table computes its rows when read.
    QSqlQuery q(db());
    QStringList names;
    if (q.exec(QStringLiteral("select name from sqlite_master where type = 'table' and "
                              "coalesce(sql, '') not like 'create virtual%'")))
        while (q.next())
            names << q.value(0).toString();
    return names;
}

bool SqliteTableSource::readColumns(const QString &table, QStringList *names, QString *error) const
{
    names->clear();
    QSqlQuery q(db());
    if (!tableNames().contains(table, Qt::CaseInsensitive)) {
        *error = u"文件中没有表 " + table;
        return false;
    }
    q.prepare(QStringLiteral("select name, hidden from pragma_table_xinfo(?)"));
    q.addBindValue(table);
    if (!q.exec()) {
        *error = readError(table, q.lastError());
        return false;
    }
    while (q.next()) {
        if (q.value(1).toInt() != 0) {
            *error = u"表 " + table + u" 含有计算字段 " + q.value(0).toString() +
                     u"，不是可以读取的数据";
            names->clear();
            return false;
        }
        *names << q.value(0).toString();
    }
    return true;
}

QStringList SqliteTableSource::columnNames(const QString &table) const
{
    QStringList names;
    QString error;
    readColumns(table, &names, &error);
    return names;
}

QString SqliteTableSource::refusedColumns(const QString &table) const
{
    QStringList names;
    QString error;
    return readColumns(table, &names, &error) ? QString() : error;
}

bool SqliteTableSource::forEachRow(const QString &table, const std::optional<Filter> &filter,
                                   const Visit &visit, QString *error) const
{
    QStringList columns;
    if (!readColumns(table, &columns, error))
        return false;
    // The stored columns by name, never "*": a computed one could cost without bound.
    QStringList selected;
    for (const QString &c : columns)
        selected << quoted(c);
    QString sql = u"select " + selected.join(u", ") + u" from " + quoted(table);
    if (filter)
        sql += u" where " + quoted(filter->column) + u" = ?";
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        *error = readError(table, q.lastError());
        return false;
    }
    if (filter)
        q.addBindValue(filter->value);
    if (!q.exec()) {
        *error = readError(table, q.lastError());
        return false;
    }
    const SqliteRow row(q, columns);
    while (q.next()) {
        if (const int i = oversizedText(q, int(columns.size())); i >= 0) {
            *error = QStringLiteral("表 %1 的字段 %2 中有超过 %3 KB 的文字")
                         .arg(table, columns[i])
                         .arg(kMaxTextBytes >> 10);
            return false;
        }
        if (!visit(row))
            return true;
    }
    // A page that cannot be read ends the rows early with an error.
    if (q.lastError().isValid()) {
        *error = readError(table, q.lastError());
        return false;
    }
    return true;
}
