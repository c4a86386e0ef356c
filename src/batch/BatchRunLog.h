#pragma once

#include <QList>
#include <QString>
#include <optional>

class Database;

// One batch run as the record keeps it.
struct BatchRun
{
    int number = 0;
    QString list; // the batch list table the rows belong to
    QString time;
    QString operatorName;
    QString printer;
    QList<int> rows; // in print order
    int pages = 0;
    QString state;
    QString workstation; // empty for runs of versions that did not record it
};

// The record of every batch run (table BatchRunTable). A run is stored before its document goes
// to the printer and marked sent after, so that a kill or a power cut in between leaves a run
// that says so instead of rows that look never printed.
class BatchRunLog
{
public:
    BatchRunLog(Database &db, QString listTable);

    static constexpr const char *kSending = "送出中";
    static constexpr const char *kSent = "已送出";
    static constexpr const char *kNotSent = "未送出";
    // Cut off while sending: the paper may hold all of it, part of it or nothing.
    static constexpr const char *kUnconfirmed = "未确认";

    // Stores a run of `rows` that is about to be sent; its number is above every number
    // given before, in either list. 0 with *error on failure.
    int begin(const QList<int> &rows, const QString &printer, const QString &operatorName,
              QString *error);
    // The document reached the printer: the run and its rows are marked, in one transaction.
    bool sent(int run, QString *error);
    // The document was thrown away; the run stays on record, so its number is never reused.
    bool notSent(int run, QString *error);
    // Runs of this list that this workstation cut off while sending: their rows are marked as
    // printed by them and the runs as unconfirmed. Answers those runs (none when there were none).
    QList<BatchRun> recoverInterrupted(QString *error);

    // The runs of this list, newest first.
    QList<BatchRun> runs(QString *error) const;

private:
    bool markRows(int run, const QString &state, QString *error);

    Database &m_db;
    QString m_list;
};
