#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

// ImportLog.txt in the data home: an INI file in GBK with the sections LOG (why row N was not
// stored, or was cut), ERR (rows the database refused) and INFO (File, Total, Finish).
// It is written as a stream: opened once per import and rewritten from the start, the LOG lines
// appended chunk by chunk, ERR and INFO written when the import finishes. The lines of the rows
// since the last commit() are held back, so a chunk the database rolled back leaves no lines.
class ImportLog
{
public:
    explicit ImportLog(const QString &runPath);

    static QString fileName(const QString &runPath);
    const QString &path() const { return m_path; }

    // Begins a new log, dropping the last one; false when the file cannot be written.
    bool start();
    void info(const QString &key, const QString &value);
    void log(int row, const QString &reason);
    void error(int row, const QString &reason);

    // The lines held back go into the file, or are dropped.
    void commit();
    void rollback();

    // Writes what is held back and the ERR and INFO sections and closes the file; false when
    // any of it could not be written.
    bool finish();

private:
    void write(const QString &text);

    QString m_path;
    QFile m_file;
    bool m_ok = true;
    QString m_pendingLog;
    QString m_pendingErrors;
    QString m_errors;
    QList<QPair<QString, QString>> m_info;
};
