#include "batch/BatchTable.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlRecord>

namespace BatchTable {

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

QString column(const QString &table, const QString &name)
{
    const QString trimmed = name.trimmed();
    for (const SchemaColumn &c : Schema::table(table)->columns)
        if (c.name.compare(trimmed, Qt::CaseInsensitive) == 0)
            return c.name;
    return {};
}

QString unknownColumn(const QString &name)
{
    return u"批打列表没有这一列：" + name;
}

std::optional<QString> fillAssignment(const QString &table, const QString &target,
                                      const QStringList &operands, QVariantList &values,
                                      QString *error)
{
    const QString targetColumn = column(table, QString(target).remove(u'@'));
    if (targetColumn.isEmpty() || targetColumn == u"ID") {
        if (error)
            *error = unknownColumn(target);
        return std::nullopt;
    }
    QStringList parts;
    for (const QString &operand : operands) {
        const QString text = operand.trimmed();
        if (text.isEmpty())
            continue;
        if (text.contains(u'@')) {
            const QString c = column(table, QString(text).remove(u'@'));
            if (c.isEmpty()) {
                if (error)
                    *error = unknownColumn(QString(text).remove(u'@'));
                return std::nullopt;
            }
            parts << u"COALESCE(" + quoted(c) + u", '')";
        } else {
            parts << QStringLiteral("?");
            values << text;
        }
    }
    return quoted(targetColumn) + u" = " +
           (parts.isEmpty() ? QStringLiteral("''") : parts.join(u" || "));
}

std::optional<QHash<QString, QString>> row(Database &db, const QString &table, int id,
                                           QString *error)
{
    QSqlQuery q = db.query();
    if (!execBound(q, u"SELECT * FROM " + quoted(table) + u" WHERE ID = ?", {id})) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    QHash<QString, QString> values;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        values.insert(record.fieldName(i), q.value(i).toString());
    return values;
}

} // namespace BatchTable
