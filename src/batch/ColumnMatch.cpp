#include "batch/ColumnMatch.h"

#include "data/BoundQuery.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace ColumnMatch {

bool MatchColumnOK(const QString &title, const QString &patterns)
{
    const QString upperTitle = title.toUpper();
    for (const QString &entry : patterns.split(u',', Qt::SkipEmptyParts)) {
        if (!entry.contains(u'*')) {
            if (entry.toUpper() == upperTitle)
                return true;
        } else if (title.contains(QString(entry).remove(u'*'))) {
            return true;
        }
    }
    return false;
}

Rules Rules::LoadAllConstColumnPair(const QSqlDatabase &db)
{
    QHash<QString, QString> patterns;
    QSqlQuery query(db);
    if (execBound(query,
                  QStringLiteral("SELECT ItemName, SourceName FROM MatchColumn WHERE MatchType = ? "
                                 "ORDER BY Id"),
                  {ImportItems::kMatchType})) {
        while (query.next()) {
            // The first row of an item counts, as a look-up of one row would answer.
            const QString item = query.value(0).toString().toUpper();
            if (!patterns.contains(item))
                patterns.insert(item, query.value(1).toString());
        }
    }
    return Rules(std::move(patterns));
}

QString Rules::patternsOf(const QString &item) const
{
    const QString patterns = m_patterns.value(item.toUpper());
    return patterns.isEmpty() ? item : patterns;
}

QStringList titlesOf(const QStringList &firstRow)
{
    QStringList titles;
    for (const QString &title : firstRow) {
        if (title.trimmed().isEmpty())
            break;
        titles << title.trimmed();
    }
    return titles;
}

std::vector<int> autoNewMatchProperty(const QStringList &titles,
                                      const std::vector<ImportItem> &items, const Rules &rules)
{
    std::vector<int> columns(items.size(), -1);
    QStringList patterns;
    for (const ImportItem &item : items)
        patterns << rules.patternsOf(item.item);
    for (int c = 0; c < titles.size(); ++c) {
        for (size_t i = 0; i < items.size(); ++i) {
            if (columns[i] < 0 && MatchColumnOK(titles[c], patterns[qsizetype(i)])) {
                columns[i] = c + 1;
                break;
            }
        }
    }
    return columns;
}

QString cleanPatterns(QString text)
{
    text = text.trimmed();
    text.remove(u'\'');
    text.remove(u'?');
    text.replace(u'，', u',');
    for (int pass = 0; pass < 2; ++pass)
        text.replace(QStringLiteral(",,"), QStringLiteral(","));
    return text.trimmed();
}

} // namespace ColumnMatch
