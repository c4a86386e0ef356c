#pragma once

#include "batch/ReceiverList.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class Database;

// The acceptance draft batch list (table MultiPrintCDHP): one row per draft to print, sorted
// into batch groups. Rows come from spreadsheets, saved drafts and typing.
class DraftBatchList
{
public:
    explicit DraftBatchList(Database &db);

    static constexpr const char *kTable = "MultiPrintCDHP";
    static constexpr const char *kAllGroups = ReceiverList::kAllGroups;

    // The rows of a group ("全部列表": every row; empty: rows without a group, blank ones
    // included; else exactly that group), the key and the print state first, ordered by a
    // column ("ID" when empty). None with *error when the column is unknown.
    static std::optional<ReceiverList::Statement> listStatement(const QString &group,
                                                                const QString &orderColumn,
                                                                bool descending, QString *error);

    // "全部列表" followed by each stored group, trimmed, in order; none on failure.
    std::optional<QStringList> groupNames(QString *error) const;

    // Deletes the group's rows, or every row for "全部列表" or an empty group. Numbering goes on.
    bool clearGroup(const QString &group, QString *error);

    // Sets column `target` to the operands joined (see BatchTable) in the group's rows, or in
    // every row for "全部列表" or an empty group. Answers the rows changed.
    std::optional<int> fillColumn(const QString &group, const QString &target,
                                  const QStringList &operands, QString *error);

    // Stores one row of the given column values with 票据状态 "0"; false with *error.
    bool addRow(const QHash<QString, QString> &values, QString *error);

    std::optional<QHash<QString, QString>> row(int id, QString *error) const;

    static QString column(const QString &name);

    // Why a stored amount is no amount ("金额不是数值：…", "金额过大"); empty for a valid one
    // and for none.
    static QString amountProblem(const QString &amount);
    // A stored issue date: "-" and "." count as the date separator, whatever the system's
    // is, and a time after the date is ignored. Invalid when it cannot be read.
    static QDate readIssueDate(const QString &stored);

private:
    Database &m_db;
};
