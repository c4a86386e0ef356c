#include "bills/DraftBill.h"

#include "bills/AmountText.h"
#include "bills/BillValues.h"
#include "bills/DraftFields.h"
#include "bills/DraftRules.h"

namespace DraftBill {

namespace {
const QString kRmb = QStringLiteral("人民币");
}

QString capitalAmount(const QString &amount, const QString &moneyName, bool withRmb)
{
    QString capital = getCapitalAmount(amount);
    if (moneyName != kRmb)
        capital.prepend(moneyName);
    if (withRmb && !capital.trimmed().isEmpty() && !capital.trimmed().startsWith(kRmb))
        capital.prepend(kRmb);
    return capital;
}

int setAmount(BillValues &bill, const QString &amount, const DraftOptions &options)
{
    bill.set(QStringLiteral("zdJEXX"), amount);
    bill.set(QStringLiteral("zdJEDX"),
             capitalAmount(amount, options.moneyName, options.capitalWithRmb));
    bill.setMoneyCode(options.moneyCode);
    return setCells(bill, amount, options.noYuanSign ? QString() : options.moneyCode);
}

int setCells(BillValues &bill, const QString &amount, const QString &code)
{
    const DraftRules::DigitCells cells = DraftRules::digitCells(amount, code);
    const QStringList &names = DraftFields::amountCells();
    for (qsizetype i = 0; i < names.size(); ++i)
        bill.set(names[i], cells.cells[i]);
    return cells.overflow;
}

void clearAmount(BillValues &bill)
{
    for (const char *name : {"zdJEXX", "zdJEDX"})
        bill.set(QString::fromLatin1(name), {});
    for (const QString &cell : DraftFields::amountCells())
        bill.set(cell, {});
}

const QStringList &dateFields()
{
    static const QStringList fields{"zdNian", "zdYue", "zdRi", "SelDate"};
    return fields;
}

const QStringList &drawerFields()
{
    static const QStringList fields{"zdOutComp", "zdOutBank", "zdOutBankAcct", "zdOutBankNO",
                                    "zdOutBankAddr"};
    return fields;
}

QStringList cellFields()
{
    return QStringList(DraftFields::amountCells()) << QStringLiteral("zdJEXX");
}

void applyOptions(BillValues &bill, const DraftOptions &options)
{
    // Only ever taken off: what the template hides stays hidden whatever the options say.
    const std::pair<bool, QStringList> offPaper[]{
        {options.noPrintDate, dateFields()},
        {options.noPrintDrawer, drawerFields()},
        {options.noPrintCapital, {QStringLiteral("zdJEDX")}},
        {options.noPrintCells, cellFields()},
    };
    for (const auto &[off, fields] : offPaper)
        if (off)
            bill.setHidden(fields, true);
}

} // namespace DraftBill
