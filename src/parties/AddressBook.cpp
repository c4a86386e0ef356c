#include "parties/AddressBook.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {

const QString kTable = QStringLiteral("CKPersonalInfoTable");
const QStringList kKeyColumns = {QStringLiteral("全称"),   QStringLiteral("联系人"),
                                 QStringLiteral("电话"),   QStringLiteral("手机"),
                                 QStringLiteral("助记码"), QStringLiteral("地址")};

// The table's own spelling of a column, empty when it has no such column.
QString tableColumn(const QString &name)
{
    const QString wanted = name.trimmed();
    if (const SchemaTable *table = Schema::table(kTable)) {
        for (const SchemaColumn &c : table->columns)
            if (c.name.compare(wanted, Qt::CaseInsensitive) == 0)
                return c.name;
    }
    return {};
}

QString containsAny(const QStringList &columns)
{
    QStringList terms;
    for (const QString &c : columns)
        terms << Database::likeAnyCase(Database::quoted(c));
    return u'(' + terms.join(u" OR ") + u')';
}

} // namespace

bool AddressBookFilter::isEmpty() const
{
    return key.trimmed().isEmpty() && (group.isEmpty() || group == AddressBook::kAllGroups) &&
           unitType.isEmpty() && advancedValue.isEmpty();
}

QString AddressBookStatement::sql() const
{
    return u"SELECT * FROM " + kTable + where + orderBy;
}

QString AddressBookStatement::countSql() const
{
    return u"SELECT COUNT(*) FROM " + kTable + where;
}

AddressBook::AddressBook(Database &db)
    : m_db(db)
{}

AddressBookStatement AddressBook::listStatement(const AddressBookFilter &filter,
                                                const QString &sortField,
                                                const QString &sortDirection)
{
    AddressBookStatement s;
    QStringList conditions;
    const QString key = filter.key.trimmed();
    if (!key.isEmpty()) {
        conditions << containsAny(kKeyColumns);
        for (qsizetype i = 0; i < kKeyColumns.size(); ++i)
            s.values << QString(u'%' + likeLiteral(key) + u'%');
    }
    if (!filter.advancedValue.isEmpty()) {
        const QString column = tableColumn(filter.advancedColumn);
        const QStringList columns = column.isEmpty() ? kKeyColumns : QStringList{column};
        if (filter.advancedEquals) {
            QStringList terms;
            for (const QString &c : columns) {
                terms << Database::quoted(c) + u" = ?";
                s.values << filter.advancedValue;
            }
            conditions << u'(' + terms.join(u" OR ") + u')';
        } else {
            conditions << containsAny(columns);
            for (qsizetype i = 0; i < columns.size(); ++i)
                s.values << QString(u'%' + likeLiteral(filter.advancedValue) + u'%');
        }
    }
    if (!filter.group.isEmpty() && filter.group != kAllGroups) {
        conditions << QStringLiteral("分组 = ?");
        s.values << filter.group;
    }
    if (!filter.unitType.isEmpty()) {
        conditions << QStringLiteral("单位类型 = ?");
        s.values << filter.unitType;
    }
    if (!conditions.isEmpty())
        s.where = u" WHERE " + conditions.join(u" AND ");

    QStringList fields;
    for (const QString &term : sortField.split(u',', Qt::SkipEmptyParts)) {
        const QString column = tableColumn(term);
        if (!column.isEmpty())
            fields << Database::quoted(column);
    }
    if (fields.isEmpty())
        fields << QStringLiteral("全称");
    const QString direction = sortDirection.trimmed().toUpper();
    s.orderBy = u" ORDER BY " + fields.join(u", ") + u' ' +
                (direction == u"ASC" ? QStringLiteral("ASC") : QStringLiteral("DESC"));
    return s;
}

QString AddressBook::nextDirection(const QString &direction)
{
    return direction.trimmed().compare(u"ASC", Qt::CaseInsensitive) == 0 ? QStringLiteral("DESC")
                                                                         : QStringLiteral("ASC");
}

QString AddressBook::advancedColumnOf(const QString &caption)
{
    if (caption == u"县市")
        return QStringLiteral("市");
    return tableColumn(caption);
}

int AddressBook::open(QSqlQueryModel &model, const AddressBookStatement &statement) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, statement.sql(), statement.values)) {
        model.clear();
        return -1;
    }
    model.setQuery(std::move(q));
    if (model.lastError().isValid()) {
        model.clear();
        return -1;
    }
    // A search that finds few rows has read them all already; count only a longer list.
    return model.canFetchMore() ? count(statement) : model.rowCount();
}

int AddressBook::count(const AddressBookStatement &statement) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, statement.countSql(), statement.values) || !q.next())
        return 0;
    return q.value(0).toInt();
}

QStringList AddressBook::distinctColumn(const QString &sql) const
{
    QStringList list;
    QSqlQuery q = m_db.query();
    if (!q.exec(sql))
        return list;
    while (q.next())
        list << q.value(0).toString();
    return list;
}

QStringList AddressBook::groupFilterList() const
{
    return QStringList{kAllGroups} +
           distinctColumn(
               QStringLiteral("SELECT DISTINCT 分组 FROM CKPersonalInfoTable ORDER BY 分组 DESC"));
}

QStringList AddressBook::groups() const
{
    QStringList list = distinctColumn(
        QStringLiteral("SELECT DISTINCT 分组 FROM CKPersonalInfoTable ORDER BY 分组"));
    list.removeAll(QString());
    return list;
}

QStringList AddressBook::countries() const
{
    QStringList list = distinctColumn(
        QStringLiteral("SELECT DISTINCT 国家 FROM CKPersonalInfoTable ORDER BY 国家"));
    list.removeAll(QString());
    return list;
}

QString AddressBook::deleteParties(const QList<int> &ids)
{
    QString error;
    const bool ok = m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        if (!q.prepare(QStringLiteral("DELETE FROM CKPersonalInfoTable WHERE ID = ?"))) {
            error = q.lastError().text();
            return false;
        }
        for (int id : ids) {
            q.addBindValue(id);
            if (!q.exec()) {
                error = q.lastError().text();
                return false;
            }
        }
        return true;
    });
    if (!ok && error.isEmpty())
        error = m_db.connection().lastError().text();
    return ok ? QString() : error;
}

QString AddressBook::clearAll(const QString &unitType)
{
    const QString type = unitType.trimmed();
    QSqlQuery q = m_db.query();
    const bool ok =
        type.isEmpty()
            ? q.exec(QStringLiteral("DELETE FROM CKPersonalInfoTable"))
            : execBound(q, QStringLiteral("DELETE FROM CKPersonalInfoTable WHERE 单位类型 = ?"),
                        {type});
    return ok ? QString() : q.lastError().text();
}
