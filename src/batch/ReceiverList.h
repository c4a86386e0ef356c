#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

class Database;
class TPersonKDD;

// The batch list's filter: which group, which key in which columns, which order.
struct ReceiverFilter
{
    // "全部列表" lists every row; empty lists the rows without a group; else that group.
    QString group;
    // Column names separated by "|", as the filter column box offers them.
    QString keyColumns;
    QString key;
    bool equals = false; // "等于"; otherwise "包含"
    QString orderColumn; // "ID" when empty
    bool descending = false;
};

// A statement with its bound values.
struct BoundStatement
{
    QString sql;
    QVariantList values;
};

// The express slip batch list (ReceiverList): listing, adding, clearing, the column fill, the
// values a row gives the express slip form, and the record of print runs that lets a clerk
// reprint from a given slip after a paper jam.
class ReceiverList
{
public:
    static inline const QString kAllLists = QStringLiteral("全部列表");

    explicit ReceiverList(Database &db);

    // ALoadGridData's statement; the last column, 最近打印, says "run-slip" of the row's last
    // print. Column names are checked against the table: nullopt and `error` for an unknown one.
    static std::optional<BoundStatement> listStatement(const ReceiverFilter &filter,
                                                       QString *error);

    // addReceiverAndGoods: false when nothing was added, because the party has no contact,
    // name or address, or the database refused it.
    bool addReceiverAndGoods(const TPersonKDD &p);
    // Deletes every row; the next one added gets ID 1.
    bool clearAll(QString *error);
    // "应用修改": target = a + b + c over every row, each operand an "@column" or a constant,
    // empty for nothing. Answers the rows changed, -1 on failure with `error` set.
    int applyColumnFill(const QString &target, const QStringList &operands, QString *error);

    // SendToCheckByID's values: (form control, value) for one row, given the grid's visible
    // columns in their order and whether the template shows the mobile box.
    static QList<QPair<QString, QString>> slipValues(const QHash<QString, QString> &row,
                                                     const QStringList &visibleColumns,
                                                     bool mobileBoxShown);

    // Print runs: a run is started before the first slip, each slip sent to the printer is
    // recorded, and the run is closed with how many went and how it ended.
    int startPrintRun(int planned);
    bool recordPrinted(int run, int receiverId, int slip);
    bool finishPrintRun(int run, int sent, const QString &outcome);
    // The rows of a run from its slip `fromSlip` on, in the order they were printed.
    QList<int> rowsOfRun(int run, int fromSlip) const;

private:
    Database &m_db;
};
