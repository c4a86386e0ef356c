#pragma once

#include "bills/BillKind.h"

#include <QString>
#include <QStringList>

// Where one bill kind's history lives: its table and the columns the history's conditions,
// sum and colours read. The two kinds differ only in these names.
struct HistoryKind
{
    BillKind bill;
    QString table;
    QString key;                 // row key and default sort column
    QString numberColumn;        // the bill's number box
    QStringList senderColumns;   // sender or drawer box: any of them matches
    QStringList receiverColumns; // receiver or payee box
    QString dateColumn;
    QString templateColumn; // empty: the kind has no template filter
    QString amountColumn;   // summed, and filtered by range where the kind has one
    QString stateColumn;    // empty: rows are not coloured by state

    static const HistoryKind &expressSlips();
    static const HistoryKind &acceptanceDrafts();
};
