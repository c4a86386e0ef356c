#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

// Prepares `sql` on `query`, binds `values` to its "?" in order and runs it.
inline bool execBound(QSqlQuery &query, const QString &sql, const QVariantList &values = {})
{
    if (!query.prepare(sql))
        return false;
    for (const QVariant &v : values)
        query.addBindValue(v);
    return query.exec();
}

// The user's text as a literal inside a LIKE pattern with ESCAPE '\'.
inline QString likeLiteral(QString s)
{
    s.replace(u'\\', QStringLiteral("\\\\"));
    s.replace(u'%', QStringLiteral("\\%"));
    s.replace(u'_', QStringLiteral("\\_"));
    return s;
}
