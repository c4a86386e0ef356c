#pragma once

#include "batch/ImportItems.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <vector>

class Database;
class ImportLog;
class SpreadsheetReader;

// What the import window's options say.
struct ImportOptions
{
    ImportScenario scenario = ImportScenario::AddressBook;
    bool judgeRepeated = true;
    bool byName = true;
    bool byContact = true;
    bool byPhone = true;
    bool askOnDuplicate = false;
    bool orderIdToRemark = false;
    bool memberIdToRemark = false;
    // Address book: "固定" and the unit type it applies to every row.
    bool fixedUnitType = false;
    QString unitType;
    // Batch list: a list name chosen or typed instead of a column; empty for none.
    QString listName;
    // The first data row: 2, below the titles, unless a run resumes further down.
    int firstRow = 2;
};

// Stores the rows of the active sheet of a spreadsheet, from row 2 on, as parties of the
// address book or receivers of the batch list. The rows go in chunks, one transaction each,
// so a window can show progress and stop between chunks without leaving half a chunk stored.
class SpreadsheetImport
{
public:
    struct Questions
    {
        // Yes (true) skips the duplicate the question names.
        std::function<bool(const QString &question)> skipDuplicate;
        // Asked before each row; true ends the import there.
        std::function<bool()> stopNow;
    };
    enum class State { Running, Finished, Stopped, Failed };

    // `columns` holds the 1-based spreadsheet column of each item of the scenario, -1 for none.
    SpreadsheetImport(Database &db, const SpreadsheetReader &sheet, ImportLog &log,
                      ImportOptions options, std::vector<int> columns, Questions questions);

    // Data rows of the sheet: its used rows after the title row.
    int total() const { return m_total; }
    // Rows handled so far, stored or not.
    int done() const { return m_tally.next - m_options.firstRow; }
    int stored() const { return m_tally.stored; }
    int duplicates() const { return m_tally.duplicates; }
    int invalid() const { return m_tally.invalid; }
    int failed() const { return m_tally.failed; }
    // Spreadsheet rows not stored, in order.
    const std::vector<int> &skippedRows() const { return m_tally.skipped; }
    State state() const { return m_state; }
    // Why the import failed, for the message "意外导入错误,E=".
    const QString &failure() const { return m_failure; }

    // Writes the log's INFO File and Total and prepares the statements.
    bool begin(const QString &sourcePath);
    // Handles up to `rows` more rows in one transaction. When the transaction fails, its rows
    // count as not handled and their log lines are dropped.
    State step(int rows);
    // The closing summary, also written to the log as Finish.
    QString summary() const;

    // ReadRow: the trimmed value of each item, with the phone quote, member and remark
    // adjustments and the unit type or list name applied.
    QHash<QString, QString> ReadRow(int row) const;

private:
    int columnOf(const QString &item) const;
    QString cell(int row, const QString &item) const;
    // savePerson: true when stored; otherwise counted and logged.
    bool savePerson(int row, const QHash<QString, QString> &values);
    bool isDuplicate(const QHash<QString, QString> &values);
    bool insert(int row, const QHash<QString, QString> &values);
    bool fail(const QString &why);
    void skip(int row, int &counter);

    Database &m_db;
    const SpreadsheetReader &m_sheet;
    ImportLog &m_log;
    ImportOptions m_options;
    const std::vector<ImportItem> &m_items;
    std::vector<int> m_columns;
    Questions m_questions;
    QString m_table;
    // Table column, the item that fills it and the column's width (0: none).
    struct Target
    {
        QString column;
        QString item;
        int width;
    };
    std::vector<Target> m_targets;
    QSqlQuery m_insert;
    QSqlQuery m_duplicate;
    bool m_checkDuplicates = false;
    int m_total = 0;
    // What the rows handled so far came to; taken back with a chunk that failed.
    struct Tally
    {
        int next = 2;
        int stored = 0;
        int duplicates = 0;
        int invalid = 0;
        int failed = 0;
        std::vector<int> skipped;
    };
    Tally m_tally;
    State m_state = State::Running;
    QString m_failure;
};
