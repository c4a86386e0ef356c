#pragma once

#include <QList>
#include <QString>

class Database;
class DraftBatchList;
class ImportLog;
class SpreadsheetReader;

// One draft import, rows 2 to the last used row of the sheet into the draft batch list, in
// chunks of one transaction each: a window shows progress and can stop between chunks, the
// disk waits once per chunk, and a chunk the database refuses leaves neither rows, counts nor
// log lines behind.
class DraftImportRun
{
public:
    enum class State { Running, Finished, Stopped, Failed };

    // `columns` holds the spreadsheet column of each item of DraftImport::items(), -1 for none.
    // The rows from `firstRow` on are imported: 2, below the titles, unless a run resumes.
    DraftImportRun(Database &db, const SpreadsheetReader &sheet, QList<int> columns, ImportLog &log,
                   int firstRow = 2);
    ~DraftImportRun();

    int total() const { return m_total; }
    int done() const { return m_tally.next - m_first; }
    int imported() const { return m_tally.imported; }
    int skipped() const { return m_tally.skipped; }
    State state() const { return m_state; }
    // The database's words when a chunk failed.
    const QString &failure() const { return m_failure; }

    // Stores up to `rows` more rows in one transaction.
    State step(int rows);
    // Ends the import where it is; the rows stored so far stay.
    void stop();
    // The closing summary, naming the rows not yet imported when the import ended early.
    QString summary() const;

private:
    // False when the database refused the row.
    bool storeRow(int row, DraftBatchList &list);

    Database &m_db;
    const SpreadsheetReader &m_sheet;
    QList<int> m_columns;
    ImportLog &m_log;
    int m_first = 2;
    int m_total = 0;
    struct Tally
    {
        int next = 2;
        int imported = 0;
        int skipped = 0;
    };
    Tally m_tally;
    State m_state = State::Running;
    QString m_failure;
};
