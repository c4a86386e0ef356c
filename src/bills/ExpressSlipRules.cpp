#include "bills/ExpressSlipRules.h"

namespace ExpressSlipRules {

QString mergeHandsetIntoPhone(const QString &phone, const QString &handset)
{
    if (handset.isEmpty())
        return phone;
    if (phone.isEmpty())
        return handset;
    return phone.contains(handset) ? phone : phone + u'\\' + handset;
}

QString removeHandsetFromPhone(const QString &phone, const QString &handset)
{
    if (handset.isEmpty())
        return phone;
    QString result = phone;
    const qsizetype at = result.indexOf(u'\\' + handset);
    if (at >= 0)
        result.remove(at, handset.size() + 1);
    return result;
}

int addressMemoPointSize(int lineCount, int heightPixels, int upperThreshold)
{
    if (lineCount < 2)
        return 9;
    if (heightPixels <= 21)
        return 7;
    return heightPixels > upperThreshold ? 9 : 8;
}

int nameListLength(int screenHeight)
{
    if (screenHeight <= 799)
        return 23;
    return screenHeight > 899 ? 50 : 35;
}

DateParts dateParts(int year, int month, int day)
{
    auto twoDigits = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return {QString::number(year), twoDigits(month), twoDigits(day)};
}

} // namespace ExpressSlipRules
