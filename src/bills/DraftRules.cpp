#include "bills/DraftRules.h"

#include "bills/AmountText.h"
#include "bills/DateText.h"

#include <QRegularExpression>

namespace DraftRules {

AmountEntry readAmount(const QString &typed)
{
    const QString plain = normalizeAmountText(typed);
    if (plain.isEmpty())
        return {};
    const std::optional<QString> amount = amountWithTwoDecimals(plain);
    if (!amount)
        return {AmountEntry::Status::NotNumber, {}};
    // Nine integer digits is what the cells hold, and the most a draft is written for.
    if (amount->indexOf(u'.') > 9)
        return {AmountEntry::Status::TooLarge, {}};
    return {AmountEntry::Status::Valid, *amount};
}

DigitCells digitCells(const QString &amount, const QString &code)
{
    // Cell indexes from the right: 分 10, 角 9, 元 8 ... 亿 0.
    constexpr int kFen = 10, kJiao = 9, kYuan = 8;
    DigitCells result;
    result.cells = QStringList(11, QString());
    QString text = amount.trimmed();
    if (text.isEmpty())
        return result;
    if (text.startsWith(u'.'))
        text.prepend(u'0');
    if (text.endsWith(u'.'))
        text += QStringLiteral("00");
    if (!text.contains(u'.'))
        text += QStringLiteral(".00");
    const qsizetype point = text.indexOf(u'.');
    QString integer = text.left(point);
    const QString decimals = text.mid(point + 1, 2).leftJustified(2, u'0');
    while (integer.size() > 1 && integer.startsWith(u'0'))
        integer.remove(0, 1);

    if (integer != u"0") {
        for (qsizetype k = 0; k < integer.size(); ++k) {
            if (k >= 9) {
                ++result.overflow;
                continue;
            }
            result.cells[kYuan - k] = integer.at(integer.size() - 1 - k);
        }
    }
    result.cells[kJiao] = decimals.at(0);
    result.cells[kFen] = decimals.at(1);
    if (!code.isEmpty()) {
        // The first empty cell from 角 leftwards, skipping 分: left of the highest digit.
        for (int i : {kJiao, kYuan, 7, 6, 5, 4, 3, 2, 1, 0})
            if (result.cells[i].isEmpty()) {
                result.cells[i] = code;
                break;
            }
    }
    return result;
}

ExpressSlipRules::DateParts issueDateParts(const QDate &date, bool capital)
{
    ExpressSlipRules::DateParts parts =
        ExpressSlipRules::dateParts(date.year(), date.month(), date.day());
    if (capital)
        parts = {getCapitalDate(parts.year), getCapitalDate(parts.month),
                 getCapitalDate(parts.day)};
    return parts;
}

DueDate readDueDate(const QString &typed, const QDate &issueDate)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || text.contains(u'年'))
        return {DueDate::Status::Unchanged, typed};
    QDate due;
    if (const qsizetype plus = text.indexOf(u'+'); plus >= 0) {
        bool ok = false;
        const int days = QString(text).remove(plus, 1).trimmed().toInt(&ok);
        if (ok)
            due = issueDate.addDays(days);
    } else {
        static const QRegularExpression date(
            QStringLiteral("^(\\d{4})[./-](\\d{1,2})[./-](\\d{1,2})$"));
        const QRegularExpressionMatch m = date.match(text);
        if (m.hasMatch())
            due = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    if (!due.isValid())
        return {DueDate::Status::Unreadable, typed};
    const ExpressSlipRules::DateParts parts = issueDateParts(due, true);
    return {DueDate::Status::Converted,
            parts.year + u'年' + parts.month + u'月' + parts.day + u'日'};
}

} // namespace DraftRules
