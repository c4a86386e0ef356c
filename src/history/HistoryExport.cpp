#include "history/HistoryExport.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/spreadsheet/XlsxWriter.h"
#include "history/HistoryStatement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

std::atomic<int> g_connections{0};

HistoryExport::Result write(QSqlDatabase &connection, const HistoryStatement &statement,
                            XlsxWriter &book, HistoryExport::Progress &progress)
{
    HistoryExport::Result result;
    if (!connection.isOpen()) {
        result.error = connection.lastError().text();
        return result;
    }
    QSqlQuery count(connection);
    if (execBound(count, statement.summarySql(), statement.values) && count.next())
        progress.total = count.value(0).toInt();
    QSqlQuery rows(connection);
    rows.setForwardOnly(true);
    if (!execBound(rows, statement.sql(), statement.values)) {
        result.error = rows.lastError().text();
        return result;
    }
    const QSqlRecord record = rows.record();
    QStringList cells;
    for (int c = 0; c < record.count(); ++c)
        cells << record.fieldName(c);
    if (!book.addTitleRow(cells)) {
        result.error = book.error();
        return result;
    }
    // The amounts go out as numbers, so that the sheet can sum them; codes stay text.
    QList<int> numbers;
    if (const int amount = record.indexOf(statement.amountColumn); amount >= 0)
        numbers << amount;
    while (rows.next()) {
        if (progress.cancel) {
            result.cancelled = true;
            return result;
        }
        cells.clear();
        for (int c = 0; c < record.count(); ++c)
            cells << rows.value(c).toString();
        if (!book.addRow(cells, numbers)) {
            result.error = book.error();
            return result;
        }
        progress.done = ++result.rows;
    }
    if (rows.lastError().isValid()) {
        result.error = rows.lastError().text();
        return result;
    }
    if (progress.cancel) {
        result.cancelled = true;
        return result;
    }
    if (!book.save())
        result.error = book.error();
    return result;
}

} // namespace

HistoryExport::Result HistoryExport::run(const Database &db, const HistoryStatement &statement,
                                         XlsxWriter &book, Progress &progress)
{
    const QString name = QStringLiteral("lanyan-export-%1").arg(++g_connections);
    Result result;
    {
        QSqlDatabase connection = db.openSibling(name);
        result = write(connection, statement, book, progress);
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}
