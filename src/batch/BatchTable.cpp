#include "batch/BatchTable.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlRecord>

namespace BatchTable {

QString quoted(const QString &name)
{
    return Database::quoted(name);
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
    // An empty number reads as "" on both engines, never as 0.
    for (int i = 0; i < record.count(); ++i)
        values.insert(record.fieldName(i), q.isNull(i) ? QString() : q.value(i).toString());
    return values;
}

namespace {

const QStringList &leading()
{
    static const QStringList columns{"ID", "打印状态", "打印批次", "打印时间"};
    return columns;
}

} // namespace

QString listedColumns(const QString &table)
{
    QStringList all = leading();
    for (const SchemaColumn &c : Schema::table(table)->columns)
        if (!all.contains(c.name))
            all << c.name;
    for (QString &c : all)
        c = quoted(c);
    return all.join(QStringLiteral(", "));
}

int leadingColumns()
{
    return int(leading().size());
}

std::optional<int> eachId(Database &db, const QString &sql, const QVariantList &values,
                          const QList<int> &ids, QString *error)
{
    int changed = 0;
    QSqlQuery q = db.query();
    const bool ok = db.inTransaction([&] {
        if (!q.prepare(sql))
            return false;
        for (int id : ids) {
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values[i]);
            q.bindValue(int(values.size()), id);
            if (!q.exec())
                return false;
            changed += q.numRowsAffected();
        }
        return true;
    });
    if (ok)
        return changed;
    if (error)
        *error =
            q.lastError().isValid() ? q.lastError().text() : db.connection().lastError().text();
    return std::nullopt;
}

std::optional<QStringList> groupNames(Database &db, const QString &table, QString *error)
{
    QSqlQuery q = db.query();
    if (!q.exec(u"SELECT DISTINCT TRIM(COALESCE(批打分组, '')) AS g FROM " + quoted(table) +
                u" ORDER BY g")) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    QStringList names{QString::fromUtf8(kAllGroups)};
    while (q.next())
        names << q.value(0).toString();
    return names;
}

} // namespace BatchTable
