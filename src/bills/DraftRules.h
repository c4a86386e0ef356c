#pragma once

#include "bills/ExpressSlipRules.h"

#include <QDate>
#include <QString>
#include <QStringList>

// Rules of the acceptance draft form that need no window: the amount as typed, its digit cells,
// the issue date fields and the due date.
namespace DraftRules {

// What the clerk typed into the amount, read as the draft stores it.
struct AmountEntry
{
    enum class Status { Empty, Valid, NotNumber, TooLarge };
    Status status = Status::Empty;
    QString amount; // with two decimals ("1234.50") when valid
};
// Full-width digits and points count as half-width ones; anything but digits and points is
// dropped first. An amount of 1 000 000 000 or more is too large.
AmountEntry readAmount(const QString &typed);

// The eleven amount cells from 亿 to 分 (DraftFields::amountCells order): one digit each, and
// the money code in the cell left of the highest digit unless `code` is empty. Digits beyond
// the ninth integer cell are not shown and counted in `overflow`.
struct DigitCells
{
    QStringList cells;
    int overflow = 0;
};
DigitCells digitCells(const QString &amount, const QString &code);

// The issue date fields: capital text ("贰零零玖", "零壹拾", "壹拾伍") or the digits themselves.
ExpressSlipRules::DateParts issueDateParts(const QDate &date, bool capital);

// The due date typed as a date (2010.6.13, 2010/06/13, 2010-6-13) or as "+N" days after the
// issue date, in capital text: 贰零壹零年零陆月壹拾叁日.
struct DueDate
{
    enum class Status { Unchanged, Converted, Unreadable };
    Status status = Status::Unchanged;
    QString text;
};
// An empty text, or one already in capital form (holding 年), stays as it is.
DueDate readDueDate(const QString &typed, const QDate &issueDate);

} // namespace DraftRules
