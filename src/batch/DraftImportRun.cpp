#include "batch/DraftImportRun.h"

#include "batch/DraftBatchList.h"
#include "batch/DraftImport.h"
#include "batch/ImportLog.h"
#include "data/Database.h"
#include "data/spreadsheet/SpreadsheetReader.h"

#include <QSqlError>

DraftImportRun::DraftImportRun(Database &db, const SpreadsheetReader &sheet, QList<int> columns,
                               ImportLog &log, int firstRow)
    : m_db(db)
    , m_sheet(sheet)
    , m_columns(std::move(columns))
    , m_log(log)
    , m_first(std::max(2, firstRow))
    , m_total(std::max(0, sheet.usedRows() - m_first + 1))
{
    m_tally.next = m_first;
    if (m_total == 0)
        m_state = State::Finished;
}

DraftImportRun::~DraftImportRun() = default;

DraftImportRun::State DraftImportRun::step(int rows)
{
    if (m_state != State::Running)
        return m_state;
    const Tally before = m_tally;
    DraftBatchList list(m_db);
    const int last = std::min(m_sheet.usedRows(), m_tally.next + rows - 1);
    const bool committed = m_db.inTransaction([&] {
        // A database that refuses a row may have dropped the whole transaction with it (disk
        // full, a trigger); the commit tells, before more rows go in unguarded.
        while (m_tally.next <= last) {
            if (!storeRow(m_tally.next++, list))
                break;
        }
        return true;
    });
    if (!committed) {
        m_failure = m_db.connection().lastError().text();
        m_tally = before;
        m_log.rollback();
        m_state = State::Failed;
        return m_state;
    }
    m_log.commit();
    if (m_tally.next > m_sheet.usedRows())
        m_state = State::Finished;
    return m_state;
}

void DraftImportRun::stop()
{
    if (m_state == State::Running)
        m_state = State::Stopped;
}

bool DraftImportRun::storeRow(int row, DraftBatchList &list)
{
    const QList<DraftImport::Item> &items = DraftImport::items();
    QHash<QString, QString> values;
    for (int i = 0; i < items.size(); ++i)
        values.insert(QString::fromUtf8(items[i].column),
                      m_columns.value(i, -1) > 0 ? m_sheet.cellText(row, m_columns[i]).trimmed()
                                                 : QString());
    QString why = DraftBatchList::amountProblem(values.value(QStringLiteral("金额")));
    const QString issue = values.value(QStringLiteral("出票日期"));
    if (why.isEmpty() && !issue.isEmpty() && !DraftBatchList::readIssueDate(issue).isValid())
        why = u"出票日期无法识别：" + issue;
    QString error;
    if (!why.isEmpty()) {
        m_log.log(row, why);
        ++m_tally.skipped;
    } else if (!m_db.inSavepoint([&] { return list.addRow(values, &error); })) {
        m_log.error(row, error);
        ++m_tally.skipped;
        return false;
    } else {
        ++m_tally.imported;
    }
    return true;
}

QString DraftImportRun::summary() const
{
    QString text = QStringLiteral("导入完成，共有 %1 条导入成功！\r\n").arg(m_tally.imported);
    if (m_tally.skipped > 0)
        text += QStringLiteral(" 其中跳过了%1 条重复的或无效(单位、联系人、电话都为空)的记录！")
                    .arg(m_tally.skipped);
    if (done() < m_total)
        text += QStringLiteral("\r\n 还有 %1 行未导入。").arg(m_total - done());
    return text;
}
