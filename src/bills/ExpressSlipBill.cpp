#include "bills/ExpressSlipBill.h"

#include "bills/AmountText.h"
#include "bills/BillValues.h"

namespace ExpressSlipBill {

AmountText formatAmount(const QString &typed, const QString &format)
{
    if (format.isEmpty() || format == u"打印小写金额" || typed.trimmed().isEmpty())
        return {typed, {}};
    const std::optional<AmountFormat> parsed = parseAmountFormat(format.trimmed());
    if (!parsed)
        return {typed, {}};
    const QString amount = typed.trimmed();
    const QString text =
        !isNumericText(amount) ? QString()
        : parsed->mode == AmountFormat::Mode::Capital
            ? getCapitalAmount(amount)
            : getCapitalDigitCells(amount, parsed->integerCells, parsed->decimalPattern);
    if (text.isEmpty())
        return {{},
                QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~")};
    if (text == kBeyondDigitLimit)
        return {{}, QStringLiteral("金额超出位数限制，请改选位数更多的金额大写格式~")};
    return {text, {}};
}

void put(BillValues &slip, const QString &field, const QString &text,
         const ExpressSlipOptions &options)
{
    slip.set(field, text);
    if (options.destinationIsCity && !text.isEmpty() &&
        field.compare(u"zdSKRXS", Qt::CaseInsensitive) == 0)
        slip.set(QStringLiteral("cbDestSite"), text);
}

const QStringList &dateFields()
{
    static const QStringList fields{"zdNian", "zdYue", "zdRi", "zdTime", "SelDate"};
    return fields;
}

const QStringList &receiverFields()
{
    static const QStringList fields{"zdSKR",      "zdSKRLXR",       "zdSKRS",    "zdSKRXS",
                                    "zdskrDH",    "zdSKRYB",        "zdSkrDZ",   "edtSJRTown",
                                    "skrHandset", "edtCountryDest", "cbDestSite"};
    return fields;
}

const QStringList &senderFields()
{
    static const QStringList fields{"zdHKR",      "zdHKRLXR",       "zdHKRS",     "zdHKRXS",
                                    "zdhkrDH",    "zdHKRYB",        "zdHkrDZ",    "edtFJRTown",
                                    "hkrHandset", "edtCountryFrom", "cbFromSite", "zdSign"};
    return fields;
}

void applyOptions(BillValues &slip, const ExpressSlipOptions &options)
{
    // Only ever taken off: what the template hides stays hidden whatever the options say.
    if (!options.printDate)
        slip.setHidden(dateFields(), true);
    if (options.senderOnly)
        slip.setHidden(receiverFields(), true);
    if (options.receiverOnly)
        slip.setHidden(senderFields(), true);
}

} // namespace ExpressSlipBill
