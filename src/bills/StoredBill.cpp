#include "bills/StoredBill.h"

#include "bills/BillDate.h"
#include "bills/BillValues.h"
#include "bills/DraftBill.h"
#include "bills/DraftFields.h"
#include "bills/DraftRules.h"
#include "bills/ExpressSlipFields.h"

#include <QLocale>

namespace {

QDate storedDate(const QString &text)
{
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    return date.isValid() ? date : QLocale().toDate(text, QLocale::ShortFormat);
}

} // namespace

void loadStoredBill(BillValues &bill, const QHash<QString, QString> &row,
                    const DraftOptions &options)
{
    const bool draft = bill.kind() == BillKind::AcceptanceDraft;
    for (const BillField &f : draft ? DraftFields::all() : ExpressSlipFields::all())
        if (!f.column.isEmpty() && f.kind != BillField::Kind::Date)
            bill.set(f.control, row.value(f.column));
    const QDate date =
        storedDate(row.value(draft ? QStringLiteral("出票日期") : QStringLiteral("寄件日期")));
    if (date.isValid())
        setBillDate(bill, date, draft && options.capitalDates);
    if (draft) {
        const DraftRules::AmountEntry amount =
            DraftRules::readAmount(row.value(QStringLiteral("金额")));
        if (amount.status == DraftRules::AmountEntry::Status::Valid)
            DraftBill::setAmount(bill, amount.amount, options);
        else
            DraftBill::clearAmount(bill);
        DraftBill::applyOptions(bill, options);
    }
}
