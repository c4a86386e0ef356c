#include "bills/BillStore.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

const QString kKey = QStringLiteral("流水号");

// The table's columns that a save writes, in schema order, limited to those given.
QStringList writableColumns(const QString &table, const BillStore::Values &values)
{
    QStringList columns;
    for (const SchemaColumn &c : Schema::table(table)->columns)
        if (c.name != kKey && values.contains(c.name))
            columns << c.name;
    return columns;
}

} // namespace

BillStore::BillStore(Database &db, QString table)
    : m_db(db)
    , m_table(std::move(table))
{}

std::optional<bool> BillStore::exists(int billId, QString *error) const
{
    if (billId <= 0)
        return false;
    QSqlQuery q = m_db.query();
    q.prepare(u"select 1 from " + m_table + u" where " + Database::quoted(kKey) + u" = ?");
    q.addBindValue(billId);
    if (!q.exec()) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    return q.next();
}

BillStore::SaveResult BillStore::save(int billId, const Values &values)
{
    const QStringList columns = writableColumns(m_table, values);
    QString error;
    const std::optional<bool> found = exists(billId, &error);
    // Unsure whether the row is there: an insert could duplicate the bill being edited.
    if (!found)
        return {billId, false, error};
    const bool edit = *found;
    QSqlQuery q = m_db.query();
    QVariantList bound;
    for (const QString &c : columns)
        bound << values.value(c);
    if (edit) {
        QStringList sets;
        for (const QString &c : columns)
            sets << Database::quoted(c) + u" = ?";
        bound << billId;
        if (!execBound(q,
                       u"update " + m_table + u" set " + sets.join(u", ") + u" where " +
                           Database::quoted(kKey) + u" = ?",
                       bound))
            return {billId, false, q.lastError().text()};
        return {billId, false, {}};
    }
    QStringList names, marks;
    for (const QString &c : columns) {
        names << Database::quoted(c);
        marks << QStringLiteral("?");
    }
    const QVariant key =
        m_db.insertReturningKey(q,
                                u"insert into " + m_table + u" (" + names.join(u", ") +
                                    u") values (" + marks.join(u", ") + u')',
                                bound, kKey);
    if (!key.isValid())
        return {billId, false, q.lastError().text()};
    return {key.toInt(), true, {}};
}

std::optional<BillStore::Values> BillStore::load(int billId, QString *error) const
{
    QSqlQuery q = m_db.query();
    q.prepare(u"select * from " + m_table + u" where " + Database::quoted(kKey) + u" = ?");
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

bool BillStore::recordFirstPrint(int billId, int versionId, QString *error)
{
    QSqlQuery q = m_db.query();
    const QString version = Database::quoted(versionColumn());
    if (execBound(q,
                  u"update " + m_table + u" set " + version + u" = ? where " +
                      Database::quoted(kKey) + u" = ? and " + version + u" is null",
                  {versionId, billId}))
        return true;
    *error = q.lastError().text();
    return false;
}
