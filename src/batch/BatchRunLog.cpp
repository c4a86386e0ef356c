#include "batch/BatchRunLog.h"

#include "batch/BatchTable.h"
#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QDateTime>
#include <QSqlError>
#include <QStringList>

namespace {

const QString kSelect = QStringLiteral(
    "SELECT 批次, 列表, 打印时间, 操作员, 打印机, 条目, 张数, 状态, 工作站 FROM BatchRunTable ");

QString joinedRows(const QList<int> &rows)
{
    QStringList ids;
    for (int id : rows)
        ids << QString::number(id);
    return ids.join(u',');
}

BatchRun runAt(const QSqlQuery &q)
{
    BatchRun r;
    r.number = q.value(0).toInt();
    r.list = q.value(1).toString();
    r.time = q.value(2).toString();
    r.operatorName = q.value(3).toString();
    r.printer = q.value(4).toString();
    for (const QString &id : q.value(5).toString().split(u',', Qt::SkipEmptyParts))
        r.rows << id.toInt();
    r.pages = q.value(6).toInt();
    r.state = q.value(7).toString();
    r.workstation = q.value(8).toString();
    return r;
}

bool failed(const QSqlQuery &q, Database &db, QString *error)
{
    if (!error)
        return false;
    *error = q.lastError().isValid() ? q.lastError().text() : db.connection().lastError().text();
    // Callers tell a failure by its text: one without a reason must not pass for success.
    if (error->trimmed().isEmpty())
        *error = QStringLiteral("数据库拒绝了这次操作");
    return false;
}

} // namespace

BatchRunLog::BatchRunLog(Database &db, QString listTable)
    : m_db(db)
    , m_list(std::move(listTable))
{}

int BatchRunLog::begin(const QList<int> &rows, const QString &printer, const QString &operatorName,
                       QString *error)
{
    int run = 0;
    QSqlQuery q = m_db.query();
    // Numbers printed by older versions sit only in the lists; none of them is given again.
    const bool ok = m_db.inNumberingTransaction(QStringLiteral("BatchRunTable"), [&] {
        if (!q.exec(QStringLiteral(
                "SELECT MAX(n) FROM (SELECT MAX(批次) AS n FROM BatchRunTable UNION ALL "
                "SELECT MAX(打印批次) FROM ReceiverList UNION ALL SELECT MAX(打印批次) FROM "
                "MultiPrintCDHP) AS runs")) ||
            !q.next())
            return false;
        run = q.value(0).toInt() + 1;
        return execBound(
            q,
            QStringLiteral("INSERT INTO BatchRunTable (批次, 列表, 打印时间, 操作员, 打印机, "
                           "条目, 张数, 状态, 工作站) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {run, m_list,
             QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             operatorName, printer, joinedRows(rows), int(rows.size()), QString::fromUtf8(kSending),
             m_db.workstation()});
    });
    if (ok)
        return run;
    failed(q, m_db, error);
    return 0;
}

bool BatchRunLog::markRows(int run, const QString &state, QString *error)
{
    QSqlQuery q = m_db.query();
    const bool ok = m_db.inTransaction([&] {
        if (!execBound(q, kSelect + QStringLiteral("WHERE 批次 = ?"), {run}) || !q.next())
            return false;
        const BatchRun r = runAt(q);
        q.finish();
        if (!execBound(q, QStringLiteral("UPDATE BatchRunTable SET 状态 = ? WHERE 批次 = ?"),
                       {state, run}) ||
            !q.prepare(u"UPDATE " + BatchTable::quoted(m_list) +
                       u" SET 打印状态 = ?, 打印批次 = ?, 打印时间 = ? WHERE ID = ?"))
            return false;
        for (int id : r.rows) {
            q.bindValue(0, QString::fromUtf8(BatchTable::kPrinted));
            q.bindValue(1, run);
            q.bindValue(2, r.time);
            q.bindValue(3, id);
            if (!q.exec())
                return false;
        }
        return true;
    });
    return ok || failed(q, m_db, error);
}

bool BatchRunLog::sent(int run, QString *error)
{
    return markRows(run, QString::fromUtf8(kSent), error);
}

bool BatchRunLog::notSent(int run, QString *error)
{
    QSqlQuery q = m_db.query();
    return execBound(q, QStringLiteral("UPDATE BatchRunTable SET 状态 = ? WHERE 批次 = ?"),
                     {QString::fromUtf8(kNotSent), run}) ||
           failed(q, m_db, error);
}

QList<BatchRun> BatchRunLog::recoverInterrupted(QString *error)
{
    QList<BatchRun> cut;
    QSqlQuery q = m_db.query();
    // Another workstation's run may be on its way to the printer right now. Runs of older
    // versions name no workstation: they were this one's.
    if (!execBound(q,
                   kSelect + QStringLiteral("WHERE 列表 = ? AND 状态 = ? AND (工作站 = ? OR 工作站 "
                                            "IS NULL OR 工作站 = '') ORDER BY 批次"),
                   {m_list, QString::fromUtf8(kSending), m_db.workstation()})) {
        failed(q, m_db, error);
        return cut;
    }
    while (q.next())
        cut << runAt(q);
    q.finish();
    for (BatchRun &r : cut) {
        if (!markRows(r.number, QString::fromUtf8(kUnconfirmed), error))
            return {};
        r.state = QString::fromUtf8(kUnconfirmed);
    }
    return cut;
}

QList<BatchRun> BatchRunLog::runs(QString *error) const
{
    QList<BatchRun> all;
    QSqlQuery q = m_db.query();
    if (!execBound(q, kSelect + QStringLiteral("WHERE 列表 = ? ORDER BY 批次 DESC"), {m_list})) {
        failed(q, m_db, error);
        return all;
    }
    while (q.next())
        all << runAt(q);
    return all;
}
