#pragma once

#include "data/Database.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <optional>

struct HistoryKind;

// The conditions of a history window, as the user set them. Empty texts take no part.
struct HistoryFilter
{
    QString number;
    QString sender;
    QString receiver;
    QString templateName;
    std::optional<QDate> from; // dates take part only as a pair
    std::optional<QDate> to;
    std::optional<double> amountFrom;
    std::optional<double> amountTo;
    bool fuzzy = true;
    QString sortColumn; // empty or not a column of the table: the row key
};

// One history query with its bound values: the rows, their count and sum, all under the same
// conditions. `where` is empty or starts with " WHERE ".
struct HistoryStatement
{
    QString table;
    QString key;
    QString amountColumn;
    QString where;
    QString orderBy;
    QVariantList values;
    Database::Backend backend = Database::Backend::Sqlite;

    static HistoryStatement build(const HistoryKind &kind, const HistoryFilter &filter,
                                  Database::Backend backend);

    QString sql() const;
    // The rows found, by their keys: the conditions are met on an index alone, and the rows
    // are then read in key order instead of being sorted whole.
    QString rowsWhere() const;
    // Row count and the sum of the amount column over the rows whose amount is not blank, as
    // a whole number of 1/kSumScale (exact, where a sum of fractions would drift).
    QString summarySql() const;
    static constexpr qint64 kSumScale = 10000;
    // Tells two statements apart by their text and values, for sending only what changed.
    QString identity() const;
};

namespace HistoryText {

// A bound of the amount range: digits with at most one decimal point; nullopt otherwise
// (a sign, a thousands separator, a second point).
std::optional<double> amountBound(const QString &text);

// A sum of summarySql() as the sum line shows it: empty for no value, no exponent, no
// trailing zeros.
QString sumText(const QVariant &sum);

} // namespace HistoryText
