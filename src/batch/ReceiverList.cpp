#include "batch/ReceiverList.h"

#include "batch/BatchTable.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/TPersonKDD.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString kTable = QStringLiteral("ReceiverList");

using BatchTable::eachId;
using BatchTable::unknownColumn;

} // namespace

ReceiverList::ReceiverList(Database &db)
    : m_db(db)
{}

ReceiverList::Added ReceiverList::addReceiverAndGoods(const TPersonKDD &p, QString *error)
{
    // Blanks count as empty: a row of spaces would print an empty slip.
    if (p.FullName.trimmed().isEmpty() && p.Contactor.trimmed().isEmpty() &&
        p.Address.trimmed().isEmpty())
        return Added::Nothing;
    QSqlQuery q = m_db.query();
    const bool ok = execBound(
        q,
        QStringLiteral("INSERT INTO ReceiverList (全称, 省, 市, 地址, 镇区, 电话, 联系人, 邮编, "
                       "手机, 国家, 内件说明, 备注, 目的站, 批打分组) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
        {p.FullName, p.Province, p.City, p.Address, p.Town, p.Phone, p.Contactor, p.Zipcode,
         p.Handset, p.Country, p.GoodsDesc, p.Remark, p.DestSite});
    if (ok)
        return Added::Row;
    if (error)
        *error = q.lastError().text();
    return Added::Failed;
}

QString ReceiverList::column(const QString &name)
{
    return BatchTable::column(kTable, name);
}

std::optional<ReceiverList::Statement> ReceiverList::listStatement(const Filter &f, QString *error)
{
    Statement s;
    s.sql = u"SELECT " + BatchTable::listedColumns(kTable) + u" FROM ReceiverList WHERE ";
    const QString group = f.group.trimmed();
    if (group == QString::fromUtf8(kAllGroups)) {
        s.sql += QStringLiteral("1=1");
    } else if (group.isEmpty()) {
        s.sql += QStringLiteral("(TRIM(COALESCE(批打分组, '')) = '')");
    } else {
        s.sql += QStringLiteral("TRIM(批打分组) = ?");
        s.values << group;
    }

    const QString key = f.key.trimmed();
    if (!key.isEmpty() && !f.keyColumns.isEmpty()) {
        QStringList conditions;
        for (const QString &name : f.keyColumns) {
            const QString c = column(name);
            if (c.isEmpty()) {
                if (error)
                    *error = unknownColumn(name);
                return std::nullopt;
            }
            if (f.keyEquals) {
                conditions << BatchTable::quoted(c) + QStringLiteral(" = ?");
                s.values << key;
            } else {
                conditions << Database::likeAnyCase(BatchTable::quoted(c));
                s.values << QString(u'%' + likeLiteral(key) + u'%');
            }
        }
        s.sql += u" AND (" + conditions.join(QStringLiteral(" OR ")) + u')';
    }

    if (!f.enteredFrom.isEmpty() || !f.enteredTo.isEmpty()) {
        s.sql += QStringLiteral(" AND 录入日期 BETWEEN ? AND ?");
        s.values << f.enteredFrom << f.enteredTo;
    }
    if (f.status) {
        if (f.status->isEmpty()) {
            s.sql += QStringLiteral(" AND COALESCE(打印状态, '') = ''");
        } else {
            s.sql += QStringLiteral(" AND 打印状态 = ?");
            s.values << *f.status;
        }
    }

    const QString order =
        f.orderColumn.trimmed().isEmpty() ? QStringLiteral("ID") : column(f.orderColumn);
    if (order.isEmpty()) {
        if (error)
            *error = unknownColumn(f.orderColumn);
        return std::nullopt;
    }
    s.sql += u" ORDER BY " + BatchTable::quoted(order) + (f.descending ? u" DESC" : u" ASC");
    // Equal sort values keep the order in which the rows were entered.
    if (order != u"ID")
        s.sql += QStringLiteral(", ID");
    return s;
}

std::optional<QStringList> ReceiverList::groupNames(QString *error) const
{
    return BatchTable::groupNames(m_db, kTable, error);
}

std::optional<QHash<QString, QString>> ReceiverList::row(int id, QString *error) const
{
    return BatchTable::row(m_db, kTable, id, error);
}

QString ReceiverList::clearAll()
{
    return m_db.clearAndRestartNumbering(kTable);
}

std::optional<int> ReceiverList::fillColumn(const QList<int> &ids, const QString &target,
                                            const QStringList &operands, QString *error)
{
    QVariantList values;
    const auto assignment = BatchTable::fillAssignment(kTable, target, operands, values, error);
    if (!assignment)
        return std::nullopt;
    return eachId(m_db, u"UPDATE ReceiverList SET " + *assignment + u" WHERE ID = ?", values, ids,
                  error);
}

bool ReceiverList::moveTo(const QList<int> &ids, const QString &status, QString *error)
{
    return eachId(m_db, QStringLiteral("UPDATE ReceiverList SET 打印状态 = ? WHERE ID = ?"),
                  {status}, ids, error)
        .has_value();
}

QStringList ReceiverList::dictionaryValues(const QString &name) const
{
    QSqlQuery q = m_db.query();
    QStringList values;
    if (execBound(q, QStringLiteral("SELECT DISTINCT DMValue FROM DMTable WHERE DMName = ?"),
                  {name}))
        while (q.next())
            values << q.value(0).toString();
    return values;
}
