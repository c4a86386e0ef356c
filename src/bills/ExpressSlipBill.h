#pragma once

#include <QString>
#include <QStringList>

class BillValues;

// The express slip's options that decide what its values say and what prints.
struct ExpressSlipOptions
{
    bool printDate = true;          // "打印日期"
    bool senderOnly = false;        // "仅打印发件人": the receiver block stays off the paper
    bool receiverOnly = false;      // "仅打印收件方": the sender block stays off the paper
    bool destinationIsCity = false; // "目的站=城市"
    QString amountFormat;           // "金额大写1格式"
};

// The express slip's rules on its values, the same for the form, its batch and the command line.
namespace ExpressSlipBill {

// The capital amount field's text for what was typed, in the chosen format. A plain format, an
// empty text or an unknown format leave the text as typed; `error` says why an amount cannot be
// written in the format (then `text` is empty).
struct AmountText
{
    QString text;
    QString error;
};
AmountText formatAmount(const QString &typed, const QString &format);

// Puts one value in; the receiver's city becomes the destination too when the option says so.
void put(BillValues &slip, const QString &field, const QString &text,
         const ExpressSlipOptions &options);

const QStringList &dateFields();
const QStringList &receiverFields();
const QStringList &senderFields();
// Hides what the options leave off the paper.
void applyOptions(BillValues &slip, const ExpressSlipOptions &options);

} // namespace ExpressSlipBill
