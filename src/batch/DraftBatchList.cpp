#include "batch/DraftBatchList.h"

#include "batch/BatchTable.h"
#include "bills/DraftRules.h"
#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString kTableName = QString::fromUtf8(DraftBatchList::kTable);

// "全部列表" and an empty group reach every row when clearing or filling.
bool wholeList(const QString &group)
{
    const QString g = group.trimmed();
    return g.isEmpty() || g == QString::fromUtf8(DraftBatchList::kAllGroups);
}

bool failed(const QSqlQuery &q, QString *error)
{
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

DraftBatchList::DraftBatchList(Database &db)
    : m_db(db)
{}

QString DraftBatchList::column(const QString &name)
{
    return BatchTable::column(kTableName, name);
}

QString DraftBatchList::amountProblem(const QString &stored)
{
    const QString amount = stored.trimmed();
    if (amount.isEmpty())
        return {};
    // Only digits, points and thousands separators after an optional currency sign: anything
    // else is no amount, even where the form would drop it while the clerk types.
    static const QRegularExpression figures(QStringLiteral("^[￥¥]?[0-9０-９.．,，]+$"));
    const auto entry = DraftRules::readAmount(amount);
    using Status = DraftRules::AmountEntry::Status;
    if (entry.status == Status::TooLarge)
        return QStringLiteral("金额过大");
    if (!figures.match(amount).hasMatch() || entry.status != Status::Valid)
        return u"金额不是数值：" + amount;
    return {};
}

QDate DraftBatchList::readIssueDate(const QString &stored)
{
    QString text = stored.trimmed().section(u' ', 0, 0);
    text.replace(u'-', u'/').replace(u'.', u'/');
    for (const char *format : {"yyyy/M/d", "yyyy/MM/dd", "yyyyMMdd"}) {
        const QDate d = QDate::fromString(text, QString::fromLatin1(format));
        if (d.isValid())
            return d;
    }
    return QLocale::system().toDate(stored.trimmed(), QLocale::ShortFormat);
}

std::optional<ReceiverList::Statement> DraftBatchList::listStatement(const QString &group,
                                                                     const QString &orderColumn,
                                                                     bool descending,
                                                                     QString *error)
{
    ReceiverList::Statement s;
    s.sql = u"SELECT " + BatchTable::listedColumns(kTableName) + u" FROM MultiPrintCDHP";
    const QString g = group.trimmed();
    if (g.isEmpty()) {
        s.sql += QStringLiteral(" WHERE TRIM(COALESCE(批打分组, '')) = ''");
    } else if (g != QString::fromUtf8(kAllGroups)) {
        s.sql += QStringLiteral(" WHERE TRIM(批打分组) = ?");
        s.values << g;
    }
    const QString order =
        orderColumn.trimmed().isEmpty() ? QStringLiteral("ID") : column(orderColumn);
    if (order.isEmpty()) {
        if (error)
            *error = BatchTable::unknownColumn(orderColumn);
        return std::nullopt;
    }
    s.sql += u" ORDER BY " + BatchTable::quoted(order) + (descending ? u" DESC" : u" ASC");
    if (order != u"ID")
        s.sql += QStringLiteral(", ID");
    return s;
}

std::optional<QStringList> DraftBatchList::groupNames(QString *error) const
{
    return BatchTable::groupNames(m_db, kTableName, error);
}

bool DraftBatchList::clearGroup(const QString &group, QString *error)
{
    QSqlQuery q = m_db.query();
    const bool ok =
        wholeList(group)
            ? q.exec(QStringLiteral("DELETE FROM MultiPrintCDHP"))
            : execBound(q, QStringLiteral("DELETE FROM MultiPrintCDHP WHERE TRIM(批打分组) = ?"),
                        {group.trimmed()});
    return ok || failed(q, error);
}

std::optional<int> DraftBatchList::fillColumn(const QString &group, const QString &target,
                                              const QStringList &operands, QString *error)
{
    QVariantList values;
    const auto assignment = BatchTable::fillAssignment(kTableName, target, operands, values, error);
    if (!assignment)
        return std::nullopt;
    QString sql = u"UPDATE MultiPrintCDHP SET " + *assignment;
    if (!wholeList(group)) {
        sql += QStringLiteral(" WHERE TRIM(批打分组) = ?");
        values << group.trimmed();
    }
    QSqlQuery q = m_db.query();
    if (!execBound(q, sql, values)) {
        failed(q, error);
        return std::nullopt;
    }
    return q.numRowsAffected();
}

bool DraftBatchList::addRow(const QHash<QString, QString> &values, QString *error)
{
    QStringList columns{QStringLiteral("票据状态")};
    QVariantList bound{QStringLiteral("0")};
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString c = column(it.key());
        if (c.isEmpty() || c == u"ID" || c == u"票据状态") {
            if (error)
                *error = BatchTable::unknownColumn(it.key());
            return false;
        }
        columns << BatchTable::quoted(c);
        bound << it.value();
    }
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q = m_db.query();
    return execBound(q,
                     u"INSERT INTO MultiPrintCDHP (" + columns.join(u", ") + u") VALUES (" +
                         marks.join(u", ") + u')',
                     bound) ||
           failed(q, error);
}

std::optional<QHash<QString, QString>> DraftBatchList::row(int id, QString *error) const
{
    return BatchTable::row(m_db, kTableName, id, error);
}
