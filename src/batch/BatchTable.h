#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

// What the batch list tables share: their column names as the schema spells them, and the
// column fill expression built from "@column" and constant operands.
class Database;

namespace BatchTable {

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

} // namespace BatchTable
