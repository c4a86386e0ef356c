#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

class Ui;

// The program's SQLite database: connection, schema version and migrations, and the two
// table helpers the rest of the program calls.
class Database
{
public:
    enum class Status {
        Closed,
        Opened,     // existing file, schema up to date
        Created,    // no file was there: made and seeded
        ReadOnly,   // opened for reading only; every change will fail
        Unreadable, // not a database, or newer than this program: left untouched, not open
    };

    explicit Database(QString connectionName = QStringLiteral("lanyan"));
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the file, creating and seeding it when it does not exist. A file that cannot be
    // read as a database is never overwritten.
    Status open(const QString &filePath);
    void close();

    Status status() const { return m_status; }
    bool isOpen() const { return m_db.isOpen(); }
    const QString &filePath() const { return m_filePath; }
    // What went wrong in open(), for the user; empty when all is well.
    const QString &problem() const { return m_problem; }

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

private:
    bool connect(bool readOnly);
    void rollback();
    // Empty when the safe write mode is on, else what refused it.
    QString applyPragmas();

    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_filePath;
    QString m_problem;
    Status m_status = Status::Closed;
};
