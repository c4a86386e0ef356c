#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include "data/ServerAddress.h"

class Ui;

// The program's database: the embedded SQLite file, or a PostgreSQL database several
// workstations share. Connection, schema version and migrations, the table helpers the rest of
// the program calls, and every piece of SQL the two engines spell differently.
class Database
{
public:
    enum class Backend { Sqlite, Postgres };

    enum class Status {
        Closed,
        Opened,      // existing file, schema up to date
        Created,     // no file was there: made and seeded
        ReadOnly,    // opened for reading only; every change will fail
        Unreadable,  // not a database, or newer than this program: left untouched, not open
        Unreachable, // the shared database's server did not answer or refused the login
    };

    explicit Database(QString connectionName = QStringLiteral("lanyan"));
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the file, creating and seeding it when it does not exist. A file that cannot be
    // read as a database is never overwritten.
    Status open(const QString &filePath);
    // Connects to a shared database; an empty one is given the schema and the seed data.
    Status openServer(const ServerAddress &address);
    // Connects to a shared database and leaves its tables as they are (Opened), for tools that
    // look before they write.
    Status connectServer(const ServerAddress &address);
    void close();

    Backend backend() const { return m_backend; }
    static Backend backendOf(const QSqlDatabase &db);

    Status status() const { return m_status; }
    bool isOpen() const { return m_db.isOpen(); }
    // The file, or the shared database's address without its password.
    const QString &filePath() const { return m_filePath; }
    // What went wrong in open(), for the user; empty when all is well.
    const QString &problem() const { return m_problem; }

    // The name this workstation's records carry (batch runs), for the office's shared database.
    const QString &workstation() const { return m_workstation; }
    void setWorkstation(const QString &name) { m_workstation = name; }

    QSqlDatabase &connection() { return m_db; }
    QSqlQuery query() const { return QSqlQuery(m_db); }

    // A second connection to the same file, for windows that keep their own.
    QSqlDatabase openSibling(const QString &connectionName) const;

    // Row count of a table; on failure tells the user and answers 0.
    int CountTableAllRows(const QString &table, Ui &ui) const;
    // Empties a table with an autonumbered key so that its numbering starts at 1 again, in one
    // transaction. Answers the database's error text, empty on success.
    QString clearAndRestartNumbering(const QString &table);
    // Column additions belong to the database upgrade; this one changes nothing.
    int AddColumnIfNotExits(const QString &table, const QString &column, const QString &type,
                            int size) const;

    // A table or column name as a quoted identifier: the same table on both engines, whatever
    // the letter case of its Latin name (SQLite ignores it; PostgreSQL keeps the lower case
    // that unquoted names fold to).
    static QString quoted(const QString &identifier);
    // The engine's column type for a schema type written the SQLite way ("TEXT(50)",
    // "INTEGER PRIMARY KEY AUTOINCREMENT", "REAL").
    static QString columnType(Backend backend, const QString &type);
    // "column LIKE ?" (with '\\' escaping) that ignores the case of Latin letters on both
    // engines, as SQLite's LIKE does.
    static QString likeAnyCase(const QString &column);
    // The hidden column that follows the order rows were stored in, for a table without a key:
    // SQLite's rowid, PostgreSQL's row address (which an update moves to the end).
    static QString storedOrder(Backend backend);
    // The number a text starts with, as SQLite's CAST reads it: "7元" is 7, "0012" is 12, a
    // text without one is 0.
    static QString leadingNumber(Backend backend, const QString &expression);
    // A column compared without regard to the case of its Latin letters, in an index.
    static QString caseless(Backend backend, const QString &column);
    // The schema version a database carries; 0 for an empty one, -1 when it cannot be read.
    static int schemaVersion(QSqlDatabase &db, QString *error);
    static bool setSchemaVersion(QSqlDatabase &db, int version, QString *error);
    // Runs an INSERT and answers the new row's autonumbered `key`, or an invalid value.
    QVariant insertReturningKey(QSqlQuery &query, const QString &sql, const QVariantList &values,
                                const QString &key) const;

    // Runs `work` in one transaction: committed when it answers true, rolled back otherwise.
    // After a failed start or commit the connection's lastError() is that failure's.
    template<class Work>
    bool inTransaction(Work &&work)
    {
        if (!m_db.transaction())
            return false;
        if (work() && m_db.commit())
            return true;
        rollback();
        return false;
    }

    // Runs `work` inside the open transaction so that a statement the database refuses costs
    // only that work: SQLite undoes just the refused statement, PostgreSQL would otherwise
    // refuse everything after it until the transaction ends.
    template<class Work>
    bool inSavepoint(Work &&work)
    {
        if (m_backend == Backend::Sqlite)
            return work();
        QSqlQuery q(m_db);
        if (!q.exec(QStringLiteral("SAVEPOINT lanyan_step")))
            return false;
        if (work())
            return q.exec(QStringLiteral("RELEASE SAVEPOINT lanyan_step"));
        q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT lanyan_step"));
        return false;
    }

    // Runs `work` in one transaction in which no other connection writes to `table`: a
    // number taken there as the highest plus one is never handed out twice, whichever
    // workstation asks at the same moment.
    template<class Work>
    bool inNumberingTransaction(const QString &table, Work &&work)
    {
        if (!beginNumbering(table))
            return false;
        if (work() && m_db.commit())
            return true;
        rollback();
        return false;
    }

private:
    bool beginNumbering(const QString &table);
    void configure(QSqlDatabase &db, bool readOnly) const;
    bool connect(bool readOnly);
    Status migrateOrFail(int version, bool existed);
    Status failed(const QString &what);
    void rollback();
    // Empty when the safe write mode is on, else what refused it.
    QString applyPragmas();

    QString m_connectionName;
    QSqlDatabase m_db;
    Backend m_backend = Backend::Sqlite;
    ServerAddress m_server;
    QString m_filePath;
    QString m_problem;
    QString m_workstation;
    Status m_status = Status::Closed;
};
