#pragma once

#include "history/HistoryKind.h"

#include <QStringList>
#include <QVariantList>
#include <optional>

class Database;
class QSqlQueryModel;
struct HistoryStatement;

// The saved bills of one kind as its history window works on them: the rows a statement finds
// with their count and sum, and the changes the window makes. Every change that touches several
// rows runs in one transaction; each answers the rows changed, or nullopt with `error` set.
class BillHistory
{
public:
    static inline const QString kVoided = QStringLiteral("作废");
    static inline const QString kUsed = QStringLiteral("已用");

    struct Summary
    {
        int count = 0;
        QVariant sum; // null when no row has an amount
    };

    BillHistory(Database &db, const HistoryKind &kind);

    const HistoryKind &kind() const { return m_kind; }

    // Count and sum first, then the rows into the model. On a database error the model keeps
    // what it showed and `error` says why.
    std::optional<Summary> open(QSqlQueryModel &model, const HistoryStatement &statement,
                                QString &error) const;
    // Distinct template names of the saved bills; empty on any error.
    QStringList templateNames() const;

    // Sets one column of one bill (a tracking number or remark added afterwards).
    bool setColumn(int billId, const QString &column, const QString &value, QString &error);
    std::optional<int> voidBills(const QVariantList &billIds, QString &error);
    std::optional<int> clearAll(QString &error);

    // Copies drafts into the draft batch list under the group `group`, in the order given.
    std::optional<int> copyToBatch(const QVariantList &billIds, const QString &group,
                                   QString &error);
    // Copies every draft the statement finds, in its order.
    std::optional<int> copyToBatch(const HistoryStatement &statement, const QString &group,
                                   QString &error);

private:
    using Statement = std::pair<QString, QVariantList>;
    // Runs the statements in one transaction; the rows they changed together.
    std::optional<int> run(const QList<Statement> &statements, QString &error);

    Database &m_db;
    const HistoryKind &m_kind;
};
