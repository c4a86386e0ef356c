#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Database;
class ImportLog;
class SpreadsheetReader;

// Drafts read from a spreadsheet into the draft batch list: each list column is matched by a
// fixed table of spreadsheet titles, and every row below the titles becomes one list row.
namespace DraftImport {

struct Item
{
    const char *label;  // as the import window shows it
    const char *list;   // the drop-down list's name
    const char *column; // written in MultiPrintCDHP
    QStringList titles; // spreadsheet titles that match it
};
const QList<Item> &items();

// The title entries "列n:title" of row 1, from column 1 up to the first empty title.
QStringList titleEntries(const SpreadsheetReader &sheet);
// The column number of an entry "列n:title", or -1.
int entryColumn(const QString &entry);
// The item a title matches, ignoring letter case and outer blanks, or -1.
int matchTitle(const QString &title);
// For each item the column of the last entry matching it, or -1.
QList<int> autoMatch(const QStringList &entries);

struct Result
{
    int imported = 0;
    int skipped = 0;
    QString summary() const;
};
// Stores rows 2 to the last used row of `sheet` with the item columns `columns` (-1: none).
// Blank rows are stored as blank list rows; a row whose amount is not a number or whose issue
// date cannot be read is logged and skipped, and so is one the database refuses.
Result importRows(Database &db, const SpreadsheetReader &sheet, const QList<int> &columns,
                  ImportLog &log, const std::function<void(int row)> &rowDone = {});

} // namespace DraftImport
