#pragma once

#include <QString>
#include <QStringList>

class BillValues;

// The draft's options that decide what its values say and what prints.
struct DraftOptions
{
    QString moneyName = QStringLiteral("人民币");
    QString moneyCode;           // the currency's abbreviation, printed in the amount cells
    bool capitalDates = true;    // "大写日期"
    bool capitalWithRmb = true;  // "大写带人民币"
    bool noYuanSign = false;     // "不打印限位符￥": no currency code in the cells
    bool noPrintDate = false;    // "不打印出票日期"
    bool noPrintCells = false;   // "不打印小写格"
    bool noPrintCapital = false; // "不打印大写"
    bool noPrintDrawer = false;  // "不打印出票人"
};

// The acceptance draft's rules on its values, the same for the form, its batch and the command
// line.
namespace DraftBill {

// The capital amount as the draft writes it: a foreign currency's name first, and 人民币 in
// front when the option asks for it.
QString capitalAmount(const QString &amount, const QString &moneyName, bool withRmb);

// A valid amount (two decimals) into the amount, its capital text and its eleven cells, and the
// currency's code onto the bill. Answers how many digits the cells could not hold.
int setAmount(BillValues &bill, const QString &amount, const DraftOptions &options);
// The cells alone, with `code` left of the highest digit unless it is empty.
int setCells(BillValues &bill, const QString &amount, const QString &code);
void clearAmount(BillValues &bill);

// The fields each "不打印…" option takes off the paper.
const QStringList &dateFields();
const QStringList &drawerFields();
QStringList cellFields(); // the amount cells and the amount in figures
// Hides what the options leave off the paper.
void applyOptions(BillValues &bill, const DraftOptions &options);

} // namespace DraftBill
