#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

} // namespace DraftImport
