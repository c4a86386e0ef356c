#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

// What the batch list tables share: their column names as the schema spells them, and the
// column fill expression built from "@column" and constant operands.
class Database;

namespace BatchTable {

// The group entry that lists every row.
inline constexpr const char *kAllGroups = "全部列表";
// The print state of rows sent to the printer by a batch run.
inline constexpr const char *kPrinted = "已打印";

QString quoted(const QString &name);
// The table's column, spelled as the table spells it; empty when there is none.
QString column(const QString &table, const QString &name);
QString unknownColumn(const QString &name);

// The column fill's assignment `"target" = expression`: the expression joins the operands,
// empty ones left out, "@" + a column name reading that column, any other text a constant
// bound through `values`; "''" when every operand is empty. None with *error for an unknown
// column or the key as target.
std::optional<QString> fillAssignment(const QString &table, const QString &target,
                                      const QStringList &operands, QVariantList &values,
                                      QString *error);

// A row's values by column name; none when there is no such row (or *error on failure).
std::optional<QHash<QString, QString>> row(Database &db, const QString &table, int id,
                                           QString *error);

// Every column of the table for a SELECT, the print state beside the key where the clerk
// looks for it after a jam.
QString listedColumns(const QString &table);
// How many columns of listedColumns() the key and the print state take.
int leadingColumns();

// Runs `sql` once per id, the id bound after `values`, in one transaction; the rows changed.
std::optional<int> eachId(Database &db, const QString &sql, const QVariantList &values,
                          const QList<int> &ids, QString *error);

// "全部列表" followed by each stored group, trimmed, once each, in order; rows without a
// group give an empty entry. None on failure.
std::optional<QStringList> groupNames(Database &db, const QString &table, QString *error);

} // namespace BatchTable
