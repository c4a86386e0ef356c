#include "history/BillHistory.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "history/HistoryStatement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {

// Well below every SQLite build's limit on parameters in one statement.
constexpr int kKeysPerStatement = 500;

// The draft columns the batch list takes over, in the order of both tables' lists.
const QString kBatchColumns = QStringLiteral(
    "模板种类,票据编号,出票日期,承兑协议号,币种,金额,汇票到期日,收款人全称,收款人账号,"
    "收款人开户行,出票人全称,出票人账号,付款行名称,付款行地址,付款行行号,自定义1,自定义2,"
    "自定义3,其他选项");

QString batchInsertHead()
{
    return u"INSERT INTO MultiPrintCDHP (" + kBatchColumns + u",批打分组) SELECT " + kBatchColumns +
           u", ? FROM DataCDHPTable";
}

QString placeholders(qsizetype count)
{
    return QStringList(count, QStringLiteral("?")).join(u',');
}

} // namespace

BillHistory::BillHistory(Database &db, const HistoryKind &kind)
    : m_db(db)
    , m_kind(kind)
{}

std::optional<BillHistory::Summary>
BillHistory::open(QSqlQueryModel &model, const HistoryStatement &statement, QString &error) const
{
    QSqlQuery summary = m_db.query();
    if (!execBound(summary, statement.summarySql(), statement.values) || !summary.next()) {
        error = summary.lastError().text();
        return std::nullopt;
    }
    QSqlQuery rows = m_db.query();
    if (!execBound(rows, statement.sql(), statement.values)) {
        error = rows.lastError().text();
        return std::nullopt;
    }
    model.setQuery(std::move(rows));
    return Summary{summary.value(0).toInt(), summary.value(1)};
}

QStringList BillHistory::templateNames() const
{
    QStringList names;
    if (m_kind.templateColumn.isEmpty())
        return names;
    QSqlQuery q = m_db.query();
    const QString column = Database::quoted(m_kind.templateColumn);
    if (!q.exec(u"SELECT DISTINCT " + column + u" FROM " + Database::quoted(m_kind.table) +
                u" WHERE " + column + u" IS NOT NULL ORDER BY " + column))
        return {};
    while (q.next())
        names << q.value(0).toString();
    return names;
}

std::optional<int> BillHistory::run(const QList<Statement> &statements, QString &error)
{
    int changed = 0;
    const bool done = m_db.inTransaction([&] {
        for (const auto &[sql, values] : statements) {
            QSqlQuery q = m_db.query();
            if (!execBound(q, sql, values)) {
                error = q.lastError().text();
                return false;
            }
            changed += q.numRowsAffected();
        }
        return true;
    });
    if (!done) {
        if (error.isEmpty())
            error = m_db.connection().lastError().text();
        return std::nullopt;
    }
    return changed;
}

bool BillHistory::setColumn(int billId, const QString &column, const QString &value, QString &error)
{
    return run({{u"UPDATE " + Database::quoted(m_kind.table) + u" SET " + Database::quoted(column) +
                     u" = ? WHERE " + Database::quoted(m_kind.key) + u" = ?",
                 {value, billId}}},
               error)
        .has_value();
}

std::optional<int> BillHistory::voidBills(const QVariantList &billIds, QString &error)
{
    QList<Statement> updates;
    for (qsizetype first = 0; first < billIds.size(); first += kKeysPerStatement) {
        const QVariantList chunk = billIds.mid(first, kKeysPerStatement);
        updates.append({u"UPDATE " + Database::quoted(m_kind.table) + u" SET " +
                            Database::quoted(m_kind.stateColumn) + u" = ? WHERE " +
                            Database::quoted(m_kind.key) + u" IN (" + placeholders(chunk.size()) +
                            u')',
                        QVariantList{kVoided} + chunk});
    }
    return run(updates, error);
}

std::optional<int> BillHistory::clearAll(QString &error)
{
    return run({{u"DELETE FROM " + Database::quoted(m_kind.table), {}}}, error);
}

std::optional<int> BillHistory::copyToBatch(const QVariantList &billIds, const QString &group,
                                            QString &error)
{
    const QString insert = batchInsertHead() + u" WHERE " + Database::quoted(m_kind.key) + u" = ?";
    QList<Statement> inserts;
    for (const QVariant &id : billIds)
        inserts.append({insert, {group, id}});
    return run(inserts, error);
}

std::optional<int> BillHistory::copyToBatch(const HistoryStatement &statement, const QString &group,
                                            QString &error)
{
    return run({{batchInsertHead() + statement.rowsWhere() + statement.orderBy,
                 QVariantList{group} + statement.values}},
               error);
}
