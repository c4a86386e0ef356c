#include "bills/ExpressSlipStore.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

const QString kTable = QStringLiteral("DataKDDTable");
const QString kKey = QStringLiteral("流水号");

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

// The table's columns that a save writes, in schema order, limited to those given.
QStringList writableColumns(const ExpressSlipStore::Values &values)
{
    QStringList columns;
    for (const SchemaColumn &c : Schema::table(kTable)->columns)
        if (c.name != kKey && values.contains(c.name))
            columns << c.name;
    return columns;
}

} // namespace

ExpressSlipStore::ExpressSlipStore(Database &db)
    : m_db(db)
{}

std::optional<bool> ExpressSlipStore::exists(int billId, QString *error) const
{
    if (billId <= 0)
        return false;
    QSqlQuery q = m_db.query();
    q.prepare(u"select 1 from " + kTable + u" where " + quoted(kKey) + u" = ?");
    q.addBindValue(billId);
    if (!q.exec()) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    return q.next();
}

ExpressSlipStore::SaveResult ExpressSlipStore::save(int billId, const Values &values)
{
    const QStringList columns = writableColumns(values);
    QString error;
    const std::optional<bool> found = exists(billId, &error);
    // Unsure whether the row is there: an insert could duplicate the bill being edited.
    if (!found)
        return {billId, false, error};
    const bool edit = *found;
    QSqlQuery q = m_db.query();
    if (edit) {
        QStringList sets;
        for (const QString &c : columns)
            sets << quoted(c) + u" = ?";
        q.prepare(u"update " + kTable + u" set " + sets.join(u", ") + u" where " + quoted(kKey) +
                  u" = ?");
    } else {
        QStringList names, marks;
        for (const QString &c : columns) {
            names << quoted(c);
            marks << QStringLiteral("?");
        }
        q.prepare(u"insert into " + kTable + u" (" + names.join(u", ") + u") values (" +
                  marks.join(u", ") + u')');
    }
    for (const QString &c : columns)
        q.addBindValue(values.value(c));
    if (edit)
        q.addBindValue(billId);
    if (!q.exec())
        return {billId, false, q.lastError().text()};
    return {edit ? billId : q.lastInsertId().toInt(), !edit, {}};
}

std::optional<ExpressSlipStore::Values> ExpressSlipStore::load(int billId, QString *error) const
{
    QSqlQuery q = m_db.query();
    q.prepare(u"select * from " + kTable + u" where " + quoted(kKey) + u" = ?");
    q.addBindValue(billId);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    Values values;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        values.insert(record.fieldName(i), q.value(i).toString());
    return values;
}
