#include "data/Database.h"

#include "base/Ui.h"
#include "data/BoundQuery.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>

namespace {

const QString kSqliteDriver = QStringLiteral("QSQLITE");
const QString kPostgresDriver = QStringLiteral("QPSQL");
// PostgreSQL keeps the schema version in a table of its own; SQLite in its file header.
const QString kVersionTable = QStringLiteral("lanyan_schema");

QString sqliteOptions(bool readOnly)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    return options;
}

// A schema name goes into the connection string and into SQL: plain names only.
bool isPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    return plain.match(name).hasMatch();
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

Database::Backend Database::backendOf(const QSqlDatabase &db)
{
    return db.driverName() == kPostgresDriver ? Backend::Postgres : Backend::Sqlite;
}

void Database::configure(QSqlDatabase &db, bool readOnly) const
{
    if (m_backend == Backend::Sqlite) {
        db.setDatabaseName(m_filePath);
        db.setConnectOptions(sqliteOptions(readOnly));
        return;
    }
    db.setHostName(m_server.host);
    db.setPort(m_server.port);
    db.setDatabaseName(m_server.database);
    db.setUserName(m_server.user);
    db.setPassword(m_server.password);
    // The notices of "IF NOT EXISTS" are no news to anyone.
    QString settings = QStringLiteral("-cclient_min_messages=warning");
    if (!m_server.schema.isEmpty())
        settings += u" -csearch_path=" + m_server.schema;
    db.setConnectOptions(u"connect_timeout=5;options='" + settings + u'\'');
}

bool Database::connect(bool readOnly)
{
    m_db = QSqlDatabase::addDatabase(
        m_backend == Backend::Postgres ? kPostgresDriver : kSqliteDriver, m_connectionName);
    configure(m_db, readOnly);
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

Database::Status Database::failed(const QString &what)
{
    m_problem = what + u"\n" + m_filePath;
    close();
    m_status = Status::Unreadable;
    return m_status;
}

Database::Status Database::migrateOrFail(int version, bool existed)
{
    if (version < Schema::latestVersion()) {
        const QString error = Schema::migrate(m_db, version);
        if (!error.isEmpty())
            return failed(u"数据库升级失败（" + error + u"）。文件：");
    }
    m_status = existed && version > 0 ? Status::Opened : Status::Created;
    return m_status;
}

Database::Status Database::open(const QString &filePath)
{
    close();
    m_backend = Backend::Sqlite;
    m_filePath = filePath;
    m_problem.clear();
    const QFileInfo info(filePath);
    const bool existed = info.exists();
    const bool readOnly = existed && !info.isWritable();

    if (existed && !info.isReadable())
        return failed(QStringLiteral("数据库文件无法读取，程序将不能保存任何数据："));
    // SQLite gives its journal files the database file's permissions, so a file made here for
    // the owner only keeps the whole database private.
    if (!existed) {
        QFile file(filePath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                       QFile::ReadOwner | QFile::WriteOwner))
            return failed(u"数据库文件无法创建（" + file.errorString() + u"）。文件：");
    }
    if (!connect(readOnly))
        return failed(u"数据库无法打开：" + m_db.lastError().text() + u"，文件：");

    QString error;
    const int version = schemaVersion(m_db, &error);
    if (version < 0)
        return failed(u"数据库文件已损坏或不是本程序的数据库（" + error +
                      u"），程序不会改动它。文件：");
    if (version > Schema::latestVersion())
        return failed(QStringLiteral("数据库文件来自更新版本的程序，本程序不会改动它。文件："));

    if (readOnly) {
        if (version != Schema::latestVersion())
            return failed(QStringLiteral("数据库文件只读且版本较旧，无法升级。文件："));
        m_problem = u"数据库文件只读，所做的修改将无法保存：\n" + m_filePath;
        m_status = Status::ReadOnly;
        return m_status;
    }

    if (const QString pragmaError = applyPragmas(); !pragmaError.isEmpty())
        m_problem = u"数据库无法切换到防断电的写入方式（" + pragmaError +
                    u"），程序照常运行，但断电时可能丢失最近保存的数据。文件：\n" + m_filePath;
    return migrateOrFail(version, existed);
}

Database::Status Database::openServer(const ServerAddress &address)
{
    if (connectServer(address) != Status::Opened)
        return m_status;
    QString error;
    const int version = schemaVersion(m_db, &error);
    if (version < 0)
        return failed(u"共享数据库无法读取（" + error + u"），程序不会改动它。数据库：");
    if (version > Schema::latestVersion())
        return failed(QStringLiteral("共享数据库来自更新版本的程序，本程序不会改动它。数据库："));
    return migrateOrFail(version, true);
}

Database::Status Database::connectServer(const ServerAddress &address)
{
    close();
    m_backend = Backend::Postgres;
    m_server = address;
    m_filePath = address.displayUrl();
    m_problem.clear();
    if (!address.schema.isEmpty() && !isPlainName(address.schema))
        return failed(QStringLiteral("共享数据库的模式名只能由小写字母、数字和下划线组成："));
    if (!connect(false)) {
        m_problem =
            u"无法连接共享数据库（" + m_db.lastError().text().trimmed() + u"）：\n" + m_filePath;
        close();
        m_status = Status::Unreachable;
        return m_status;
    }
    QSqlQuery q(m_db);
    if (!address.schema.isEmpty() &&
        !q.exec(u"CREATE SCHEMA IF NOT EXISTS " + quoted(address.schema)))
        return failed(u"共享数据库无法使用（" + q.lastError().text() + u"）。数据库：");
    m_status = Status::Opened;
    return m_status;
}

int Database::schemaVersion(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    auto fail = [&] {
        *error = q.lastError().text();
        return -1;
    };
    if (backendOf(db) == Backend::Sqlite) {
        // Reading the catalogue is the cheapest thing that fails on a file that is no database.
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) ||
            !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
            return fail();
        return q.value(0).toInt();
    }
    if (!execBound(q, QStringLiteral("SELECT to_regclass(?) IS NOT NULL"), {kVersionTable}) ||
        !q.next())
        return fail();
    if (!q.value(0).toBool())
        return 0;
    if (!q.exec(u"SELECT MAX(version) FROM " + kVersionTable) || !q.next())
        return fail();
    return q.value(0).toInt();
}

bool Database::setSchemaVersion(QSqlDatabase &db, int version, QString *error)
{
    QSqlQuery q(db);
    const bool ok =
        backendOf(db) == Backend::Sqlite
            ? q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version))
            : q.exec(u"CREATE TABLE IF NOT EXISTS " + kVersionTable +
                     u" (version INTEGER NOT NULL)") &&
                  q.exec(u"DELETE FROM " + kVersionTable) &&
                  execBound(q, u"INSERT INTO " + kVersionTable + u" (version) VALUES (?)",
                            {version});
    if (!ok)
        *error = q.lastError().text();
    return ok;
}

QString Database::quoted(const QString &identifier)
{
    QString s;
    s.reserve(identifier.size() + 2);
    for (const QChar c : identifier)
        s += c == u'"' ? QStringLiteral("\"\"") : QString(c.unicode() < 128 ? c.toLower() : c);
    return u'"' + s + u'"';
}

QString Database::columnType(Backend backend, const QString &type)
{
    if (backend == Backend::Sqlite)
        return type;
    if (type == u"INTEGER PRIMARY KEY AUTOINCREMENT")
        return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    // SQLite never enforced a text width; the same rows must fit on both engines.
    static const QRegularExpression width(QStringLiteral("\\bTEXT\\(\\d+\\)"));
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    return QString(type)
        .replace(width, QStringLiteral("TEXT"))
        .replace(real, QStringLiteral("DOUBLE PRECISION"));
}

QString Database::likeAnyCase(const QString &column)
{
    return u"lower(" + column + u") LIKE lower(?) ESCAPE '\\'";
}

QString Database::storedOrder(Backend backend)
{
    return backend == Backend::Sqlite ? QStringLiteral("rowid") : QStringLiteral("ctid");
}

QString Database::leadingNumber(Backend backend, const QString &expression)
{
    if (backend == Backend::Sqlite)
        return u"CAST(" + expression + u" AS DOUBLE PRECISION)";
    // PostgreSQL refuses a cast of anything that is not a number from end to end.
    return u"COALESCE(CAST(substring(" + expression +
           uR"( FROM '^\s*([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)') AS DOUBLE PRECISION), 0))";
}

QString Database::caseless(Backend backend, const QString &column)
{
    if (backend == Backend::Sqlite)
        return column + u" COLLATE NOCASE";
    return u"lower(" + column + u')';
}

QVariant Database::insertReturningKey(QSqlQuery &query, const QString &sql,
                                      const QVariantList &values, const QString &key) const
{
    if (m_backend == Backend::Sqlite)
        return execBound(query, sql, values) ? query.lastInsertId() : QVariant();
    if (!execBound(query, sql + u" RETURNING " + quoted(key), values) || !query.next())
        return {};
    return query.value(0);
}

bool Database::beginNumbering(const QString &table)
{
    QSqlQuery q(m_db);
    // SQLite: take the write lock at once, so the read below it is not of an older snapshot.
    if (m_backend == Backend::Sqlite)
        return q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    // Readers go on; other writers of the table wait for the commit.
    if (!m_db.transaction())
        return false;
    if (q.exec(u"LOCK TABLE " + quoted(table) + u" IN EXCLUSIVE MODE"))
        return true;
    rollback();
    return false;
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
                          : QSqlDatabase::addDatabase(m_db.driverName(), connectionName);
    configure(db, m_status == Status::ReadOnly);
    db.open();
    return db;
}

int Database::CountTableAllRows(const QString &table, Ui &ui) const
{
    QSqlQuery q(m_db);
    if (q.exec(u"select count(*) from " + quoted(table)) && q.next())
        return q.value(0).toInt();
    ui.alert(u"计算表格总数失败:" + table + u"-" + q.lastError().text(), QStringLiteral("错误"));
    return 0;
}

QString Database::clearAndRestartNumbering(const QString &table)
{
    QSqlQuery q(m_db);
    const QString name = quoted(table);
    QString error;
    const bool done = inTransaction([&] {
        // SQLite keeps the autonumber's high-water mark in sqlite_sequence.
        const bool ok =
            m_backend == Backend::Postgres
                ? q.exec(u"TRUNCATE TABLE " + name + u" RESTART IDENTITY")
                : q.exec(u"DELETE FROM " + name) &&
                      execBound(q, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"),
                                {table});
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
