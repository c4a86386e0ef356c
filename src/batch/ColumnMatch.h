#pragma once

#include "batch/ImportItems.h"

#include <QHash>
#include <QStringList>
#include <vector>

class QSqlDatabase;

// Matching a spreadsheet's column titles to the system's items by the title patterns of
// MatchColumn.
namespace ColumnMatch {

// Whether `title` matches a comma-separated pattern list: an entry without "*" equals the
// title, both upper-cased; an entry with "*" matches a title containing the entry without
// its stars, case and all. Empty entries are skipped.
bool MatchColumnOK(const QString &title, const QString &patterns);

// The pattern list of every item with a rule, keyed by the upper-cased item name. An item
// without a rule, or with an empty one, has its own name as its pattern list.
class Rules
{
public:
    Rules() = default;
    explicit Rules(QHash<QString, QString> patterns)
        : m_patterns(std::move(patterns))
    {}
    // LoadAllConstColumnPair: the rules of the import scenario; none when the query fails.
    static Rules LoadAllConstColumnPair(const QSqlDatabase &db);

    // LoadConstColumnPair.
    QString patternsOf(const QString &item) const;

private:
    QHash<QString, QString> m_patterns;
};

// The titles of row 1 as the column list offers them: columns 1, 2, 3 ... up to the first
// whose trimmed title is empty.
QStringList titlesOf(const QStringList &firstRow);

// autoNewMatchProperty: the 1-based column of each item, -1 for none. Columns are walked in
// order; each goes to the first item, in priority order, without a column yet whose patterns
// match its title.
std::vector<int> autoNewMatchProperty(const QStringList &titles,
                                      const std::vector<ImportItem> &items, const Rules &rules);

// The rule window's clean-up of a typed pattern list: trimmed, apostrophes and question
// marks removed, full-width commas made commas, doubled commas collapsed, trimmed again.
QString cleanPatterns(QString text);

} // namespace ColumnMatch
