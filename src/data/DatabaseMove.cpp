#include "data/DatabaseMove.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/DatabaseChoice.h"
#include "data/Schema.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>
#include <atomic>

namespace {

// Rows per INSERT: one round trip for many rows, well under the server's 65,535 parameters.
constexpr int kBatchRows = 200;
constexpr int kMaxParameters = 20000;
// Two moves into one database at once would both find it empty.
constexpr int kMoveLock = 7370415;

struct Table
{
    QString name;
    QStringList columns;
};

class Copier
{
public:
    Copier(QSqlDatabase &from, QSqlDatabase &to, DatabaseMove::Result &result,
           const DatabaseMove &move)
        : m_from(from)
        , m_to(to)
        , m_result(result)
        , m_move(move)
    {}

    bool run()
    {
        return targetIsEmpty() && createSchema() && readTables() && emptySeededTables() &&
               copyRows() && continueNumbering() && countsMatch();
    }

private:
    bool fail(const QString &what, const QSqlQuery &q)
    {
        m_result.error = what + u"（" + q.lastError().text().trimmed() + u"）";
        return false;
    }

    bool targetIsEmpty()
    {
        QSqlQuery q(m_to);
        if (!execBound(q, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kMoveLock}))
            return fail(QStringLiteral("共享数据库无法锁定"), q);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                                   "table_schema = current_schema()")) ||
            !q.next())
            return fail(QStringLiteral("无法查看共享数据库中已有的表"), q);
        if (const int tables = q.value(0).toInt(); tables > 0) {
            m_result.error =
                QStringLiteral("目标数据库不是空的（已有 %1 个表），没有迁移：只迁移到空数据库，"
                               "以免与其中已有的数据混在一起。请新建一个数据库，或在地址后加 "
                               "?schema=新模式名。")
                    .arg(tables);
            return false;
        }
        return true;
    }

    bool createSchema()
    {
        const QString error = Schema::migrateWithin(m_to, 0);
        if (!error.isEmpty())
            m_result.error = u"共享数据库无法建立表格（" + error + u"）";
        return error.isEmpty();
    }

    // Every table of the file, those of the schema first, each with the columns it has: a
    // column added by a newer step comes along without being named here.
    bool readTables()
    {
        QSqlQuery q(m_from);
        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                   "name NOT LIKE 'sqlite\\_%' ESCAPE '\\'")))
            return fail(QStringLiteral("本机数据库无法读取"), q);
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        auto rank = [](const QString &name) {
            const auto &all = Schema::tables();
            const auto it = std::find_if(all.begin(), all.end(), [&](const SchemaTable &t) {
                return t.name.compare(name, Qt::CaseInsensitive) == 0;
            });
            return std::distance(all.begin(), it);
        };
        std::stable_sort(names.begin(), names.end(),
                         [&](const QString &a, const QString &b) { return rank(a) < rank(b); });
        for (const QString &name : std::as_const(names)) {
            Table table{name, {}};
            if (!readColumns(table))
                return false;
            m_tables.push_back(table);
        }
        return true;
    }

    bool readColumns(Table &table)
    {
        const QString empty = u"SELECT * FROM " + Database::quoted(table.name) + u" WHERE 1 = 0";
        QSqlQuery source(m_from);
        if (!source.exec(empty))
            return fail(u"本机数据库的表 " + table.name + u" 无法读取", source);
        QSqlQuery target(m_to);
        if (!target.exec(empty))
            return fail(u"共享数据库没有表 " + table.name, target);
        const QSqlRecord have = target.record();
        for (int i = 0; i < source.record().count(); ++i) {
            const QString column = source.record().fieldName(i);
            if (!have.contains(column)) {
                m_result.error = u"共享数据库的表 " + table.name + u" 没有列 " + column;
                return false;
            }
            table.columns << column;
        }
        QSqlQuery count(m_from);
        if (!count.exec(u"SELECT count(*) FROM " + Database::quoted(table.name)) || !count.next())
            return fail(u"本机数据库的表 " + table.name + u" 无法计数", count);
        m_result.counts.push_back({table.name, count.value(0).toLongLong(), -1});
        m_total += count.value(0).toLongLong();
        return true;
    }

    // The new schema came with the seed rows, which the file has as well.
    bool emptySeededTables()
    {
        QSqlQuery q(m_to);
        for (const Table &t : m_tables)
            if (!q.exec(u"DELETE FROM " + Database::quoted(t.name)))
                return fail(u"共享数据库的表 " + t.name + u" 无法清空", q);
        return true;
    }

    bool copyRows()
    {
        report();
        for (const Table &t : m_tables)
            if (!copyTable(t))
                return false;
        return true;
    }

    bool copyTable(const Table &t)
    {
        QStringList names;
        for (const QString &c : t.columns)
            names << Database::quoted(c);
        const QString table = Database::quoted(t.name);
        QSqlQuery read(m_from);
        read.setForwardOnly(true);
        if (!read.exec(u"SELECT " + names.join(u", ") + u" FROM " + table))
            return fail(u"本机数据库的表 " + t.name + u" 无法读取", read);

        const int width = int(t.columns.size());
        const int perBatch = std::clamp(kMaxParameters / std::max(width, 1), 1, kBatchRows);
        const QString row = u'(' + QStringList(width, QStringLiteral("?")).join(u", ") + u')';
        const QString insert = u"INSERT INTO " + table + u" (" + names.join(u", ") + u") VALUES ";
        QSqlQuery full(m_to);
        bool fullPrepared = false;
        QVariantList values;
        int rows = 0;
        auto flush = [&] {
            if (rows == 0)
                return true;
            QSqlQuery partial(m_to);
            QSqlQuery &q = rows == perBatch ? full : partial;
            if (&q == &partial || !fullPrepared) {
                if (!q.prepare(insert + QStringList(rows, row).join(u", ")))
                    return fail(u"表 " + t.name + u" 无法复制", q);
                fullPrepared = fullPrepared || &q == &full;
            }
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values.at(i));
            if (!q.exec())
                return fail(u"表 " + t.name + u" 无法复制", q);
            m_done += rows;
            values.clear();
            rows = 0;
            report();
            if (m_move.stopRequested && m_move.stopRequested()) {
                m_result.stopped = true;
                return false;
            }
            return true;
        };
        while (read.next()) {
            for (int i = 0; i < width; ++i)
                values << read.value(i);
            if (++rows == perBatch && !flush())
                return false;
        }
        if (read.lastError().isValid())
            return fail(u"本机数据库的表 " + t.name + u" 无法读取", read);
        return flush();
    }

    // SQLite never gives a number twice, not even that of a deleted last row: it keeps the
    // highest given in sqlite_sequence.
    QHash<QString, qint64> numbersGiven()
    {
        QHash<QString, qint64> given;
        QSqlQuery q(m_from);
        if (q.exec(QStringLiteral("SELECT name, seq FROM sqlite_sequence")))
            while (q.next())
                given.insert(q.value(0).toString().toLower(), q.value(1).toLongLong());
        return given;
    }

    // Autonumbers go on after the highest number the file ever gave, so the next bill saved on
    // any workstation never takes the number of a moved or deleted one.
    bool continueNumbering()
    {
        const QHash<QString, qint64> given = numbersGiven();
        QSqlQuery q(m_to);
        for (const Table &t : m_tables) {
            const QString table = Database::quoted(t.name);
            QSqlQuery columns(m_to);
            if (!columns.exec(u"SELECT * FROM " + table + u" WHERE 1 = 0"))
                return fail(u"共享数据库的表 " + t.name + u" 无法读取", columns);
            const QSqlRecord record = columns.record();
            for (int i = 0; i < record.count(); ++i) {
                if (!execBound(q, QStringLiteral("SELECT pg_get_serial_sequence(?, ?)"),
                               {table, record.fieldName(i)}) ||
                    !q.next())
                    return fail(u"表 " + t.name + u" 的编号无法读取", q);
                const QVariant sequence = q.value(0);
                if (sequence.isNull())
                    continue;
                if (!execBound(q,
                               u"SELECT setval(?, GREATEST(COALESCE(MAX(" +
                                   Database::quoted(record.fieldName(i)) +
                                   u"), 0), ?) + 1, false) FROM " + table,
                               {sequence, given.value(t.name.toLower(), 0)}))
                    return fail(u"表 " + t.name + u" 的编号无法接续", q);
            }
        }
        return true;
    }

    bool countsMatch()
    {
        QSqlQuery q(m_to);
        QStringList differ;
        for (DatabaseMove::TableCount &c : m_result.counts) {
            if (!q.exec(u"SELECT count(*) FROM " + Database::quoted(c.table)) || !q.next())
                return fail(u"共享数据库的表 " + c.table + u" 无法计数", q);
            c.target = q.value(0).toLongLong();
            if (c.target != c.source)
                differ << QStringLiteral("%1（本机 %2 行，共享 %3 行）")
                              .arg(c.table)
                              .arg(c.source)
                              .arg(c.target);
        }
        m_result.rows = m_done;
        if (!differ.isEmpty())
            m_result.error = u"复制后行数不符，没有迁移：" + differ.join(u"；");
        return differ.isEmpty();
    }

    void report()
    {
        if (m_move.progress)
            m_move.progress(m_done, m_total);
    }

    QSqlDatabase &m_from;
    QSqlDatabase &m_to;
    DatabaseMove::Result &m_result;
    const DatabaseMove &m_move;
    std::vector<Table> m_tables;
    qint64 m_total = 0;
    qint64 m_done = 0;
};

// A bulk load leaves the server without the planner's statistics and the map that lets a
// search answer from an index alone, until its autovacuum comes by. Outside the transaction,
// as VACUUM must be, and not needed for the data to be right.
void gatherStatistics(QSqlDatabase &db, const std::vector<DatabaseMove::TableCount> &tables)
{
    QSqlQuery q(db);
    for (const DatabaseMove::TableCount &t : tables)
        q.exec(u"VACUUM ANALYZE " + Database::quoted(t.table));
}

QString connectionName(const char *role)
{
    static std::atomic<int> count{0};
    return QStringLiteral("lanyan_move_%1_%2").arg(QString::fromLatin1(role)).arg(++count);
}

} // namespace

DatabaseMove::Result DatabaseMove::copy(const QString &sqliteFile, const ServerAddress &target)
{
    Result result;
    if (!QFileInfo(sqliteFile).isFile()) {
        result.error = u"没有找到本机数据库文件：" + sqliteFile;
        return result;
    }
    Database source(connectionName("source"));
    const Database::Status opened = source.open(sqliteFile);
    if (opened == Database::Status::Unreadable) {
        result.error = source.problem();
        return result;
    }
    Database server(connectionName("target"));
    if (server.connectServer(target) != Database::Status::Opened) {
        result.error = server.problem();
        return result;
    }
    // One snapshot of the file: a bill saved meanwhile is either all there or not at all.
    QSqlDatabase &from = source.connection();
    if (!from.transaction()) {
        result.error = u"本机数据库无法读取（" + from.lastError().text() + u"）";
        return result;
    }
    Copier copier(from, server.connection(), result, *this);
    result.ok = server.inTransaction([&] { return copier.run(); });
    from.rollback();
    if (result.ok)
        gatherStatistics(server.connection(), result.counts);
    if (!result.ok && !result.stopped && result.error.isEmpty())
        result.error =
            u"共享数据库没有接受迁移（" + server.connection().lastError().text().trimmed() + u"）";
    if (result.stopped)
        result.error.clear();
    return result;
}

QString DatabaseMove::switchWorkstation(IniFile &config, const DataHome &home,
                                        const ServerAddress &target)
{
    return DatabaseChoice{DatabaseChoice::Kind::Shared, target}.write(config, home);
}
