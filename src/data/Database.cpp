#include "data/Database.h"

#include "base/Ui.h"
#include "data/BoundQuery.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

namespace {

QString connectOptions(bool readOnly)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    return options;
}

} // namespace

Database::Database(QString connectionName)
    : m_connectionName(std::move(connectionName))
{}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    m_status = Status::Closed;
}

bool Database::connect(bool readOnly)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_filePath);
    m_db.setConnectOptions(connectOptions(readOnly));
    return m_db.open();
}

QString Database::applyPragmas()
{
    QSqlQuery q(m_db);
    // A crash or power cut must never lose a saved bill. SQLite answers the journal mode it
    // really took: a file system without shared memory keeps the old one without an error.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next())
        return q.lastError().text();
    if (q.value(0).toString().compare(u"wal", Qt::CaseInsensitive) != 0)
        return u"journal_mode=" + q.value(0).toString();
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return q.lastError().text();
    return {};
}

Database::Status Database::open(const QString &filePath)
{
    close();
    m_filePath = filePath;
    m_problem.clear();
    const QFileInfo info(filePath);
    const bool existed = info.exists();
    const bool readOnly = existed && !info.isWritable();

    auto fail = [&](const QString &what) {
        m_problem = what + u"\n" + m_filePath;
        close();
        m_status = Status::Unreadable;
        return m_status;
    };

    if (existed && !info.isReadable())
        return fail(QStringLiteral("数据库文件无法读取，程序将不能保存任何数据："));
    // SQLite gives its journal files the database file's permissions, so a file made here for
    // the owner only keeps the whole database private.
    if (!existed) {
        QFile file(filePath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                       QFile::ReadOwner | QFile::WriteOwner))
            return fail(u"数据库文件无法创建（" + file.errorString() + u"）。文件：");
    }
    if (!connect(readOnly))
        return fail(u"数据库无法打开：" + m_db.lastError().text() + u"，文件：");

    QSqlQuery q(m_db);
    // Reading the catalogue is the cheapest thing that fails on a file that is no database.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) ||
        !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return fail(u"数据库文件已损坏或不是本程序的数据库（" + q.lastError().text() +
                    u"），程序不会改动它。文件：");
    const int version = q.value(0).toInt();
    q.finish();
    if (version > Schema::latestVersion())
        return fail(QStringLiteral("数据库文件来自更新版本的程序，本程序不会改动它。文件："));

    if (readOnly) {
        m_problem = u"数据库文件只读，所做的修改将无法保存：\n" + m_filePath;
        m_status = version == Schema::latestVersion() ? Status::ReadOnly : Status::Unreadable;
        if (m_status == Status::Unreadable)
            return fail(QStringLiteral("数据库文件只读且版本较旧，无法升级。文件："));
        return m_status;
    }

    if (const QString error = applyPragmas(); !error.isEmpty())
        m_problem = u"数据库无法切换到防断电的写入方式（" + error +
                    u"），程序照常运行，但断电时可能丢失最近保存的数据。文件：\n" + m_filePath;
    if (version < Schema::latestVersion()) {
        const QString error = Schema::migrate(m_db, version);
        if (!error.isEmpty())
            return fail(u"数据库升级失败（" + error + u"）。文件：");
    }
    m_status = existed && version > 0 ? Status::Opened : Status::Created;
    return m_status;
}

void Database::rollback()
{
    // On its own query, so that its error never replaces the one that made it necessary: after
    // a failed commit ("database or disk is full") SQLite has often undone the transaction
    // itself, and the rollback would only add "no transaction is active".
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
}

QSqlDatabase Database::openSibling(const QString &connectionName) const
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(m_filePath);
    db.setConnectOptions(connectOptions(m_status == Status::ReadOnly));
    db.open();
    return db;
}

int Database::CountTableAllRows(const QString &table, Ui &ui) const
{
    QSqlQuery q(m_db);
    const QString name =
        m_db.driver() ? m_db.driver()->escapeIdentifier(table, QSqlDriver::TableName) : table;
    if (q.exec(u"select count(*) from " + name) && q.next())
        return q.value(0).toInt();
    ui.alert(u"计算表格总数失败:" + table + u"-" + q.lastError().text(), QStringLiteral("错误"));
    return 0;
}

QString Database::clearAndRestartNumbering(const QString &table)
{
    QSqlQuery q(m_db);
    const QString name = m_db.driver()->escapeIdentifier(table, QSqlDriver::TableName);
    QString error;
    const bool done = inTransaction([&] {
        // The autonumber's high-water mark lives in sqlite_sequence.
        const bool ok =
            q.exec(u"DELETE FROM " + name) &&
            execBound(q, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {table});
        if (!ok)
            error = q.lastError().text();
        return ok;
    });
    if (!done && error.isEmpty())
        error = m_db.lastError().text();
    return error;
}

int Database::AddColumnIfNotExits(const QString &, const QString &, const QString &, int) const
{
    return -1;
}
