#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class BillValues;
struct ExpressSlipOptions;

// What one batch list row puts into the express slip form: the receiver block always, the
// goods and charge columns only while the list shows them, so a hidden column prints the
// form's own value.
struct ReceiverSlip
{
    struct Value
    {
        QString column; // the list's column, for telling the user which value did not fit
        QString field;  // the slip's field
        QString text;
    };
    QList<Value> values; // in the order they are put in: the city before the destination
    // The capital-amount field gets this raw amount (empty when the row's is no whole number)
    // and converts it; absent when the list does not show the column.
    std::optional<QString> capitalAmount;
    // A row without unit name, contact and address has no receiver to print.
    bool noReceiver = false;

    // Puts the values into the slip under the form's options; answers why they cannot print
    // (a value longer than its field, an amount the capital format refuses), empty when they
    // can.
    QString putInto(BillValues &slip, const ExpressSlipOptions &options) const;

    // `shown` answers whether the list shows a column; `handsetShown` whether the slip shows
    // its mobile box (else the mobile number joins the telephone).
    static ReceiverSlip of(const QHash<QString, QString> &row,
                           const std::function<bool(const QString &column)> &shown,
                           bool handsetShown);
    // `shownColumns`: the list's columns that are shown, by name.
    static ReceiverSlip of(const QHash<QString, QString> &row, const QSet<QString> &shownColumns,
                           bool handsetShown);
    // The destination column is titled either way in older lists.
    static QStringList columnNames(const QString &column);
};
