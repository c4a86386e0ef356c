#include "bills/BillDate.h"

#include "bills/BillValues.h"
#include "bills/DraftRules.h"

void setBillDate(BillValues &bill, const QDate &date, bool capital)
{
    const ExpressSlipRules::DateParts parts = DraftRules::issueDateParts(date, capital);
    bill.set(QStringLiteral("zdNian"), parts.year);
    bill.set(QStringLiteral("zdYue"), parts.month);
    bill.set(QStringLiteral("zdRi"), parts.day);
}
