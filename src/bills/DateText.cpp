#include "bills/DateText.h"

#include "bills/AmountText.h"

#include <array>

namespace {

const std::array<QString, 31> kMonthDays{
    QStringLiteral("零壹"),   QStringLiteral("零贰"),   QStringLiteral("零叁"),
    QStringLiteral("零肆"),   QStringLiteral("零伍"),   QStringLiteral("零陆"),
    QStringLiteral("零柒"),   QStringLiteral("零捌"),   QStringLiteral("零玖"),
    QStringLiteral("零壹拾"), QStringLiteral("壹拾壹"), QStringLiteral("壹拾贰"),
    QStringLiteral("壹拾叁"), QStringLiteral("壹拾肆"), QStringLiteral("壹拾伍"),
    QStringLiteral("壹拾陆"), QStringLiteral("壹拾柒"), QStringLiteral("壹拾捌"),
    QStringLiteral("壹拾玖"), QStringLiteral("零贰拾"), QStringLiteral("贰拾壹"),
    QStringLiteral("贰拾贰"), QStringLiteral("贰拾叁"), QStringLiteral("贰拾肆"),
    QStringLiteral("贰拾伍"), QStringLiteral("贰拾陆"), QStringLiteral("贰拾柒"),
    QStringLiteral("贰拾捌"), QStringLiteral("贰拾玖"), QStringLiteral("零叁拾"),
    QStringLiteral("叁拾壹"),
};

} // namespace

QString getCapitalDate(const QString &part)
{
    if (part.size() <= 2) {
        bool ok = false;
        const int n = part.toInt(&ok);
        return ok && n >= 1 && n <= int(kMonthDays.size()) ? kMonthDays[n - 1] : QString();
    }
    QString year;
    for (QChar c : part) {
        const QChar capital = capitalDigit(c);
        if (capital.isNull())
            return {};
        year += capital;
    }
    return year;
}
