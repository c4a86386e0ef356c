#include "print/PreviewLayout.h"

#include <cstdint>
#include <cstdlib>

namespace PreviewLayout {

int screenPixels(int tenthsMm, int ppi)
{
    const int64_t num = int64_t(tenthsMm) * ppi;
    constexpr int64_t den = 254;
    int64_t q = num / den;
    const int64_t twiceRest = 2 * std::llabs(num % den);
    if (twiceRest > den || (twiceRest == den && q % 2 != 0))
        q += num < 0 ? -1 : 1;
    return int(q);
}

QString shortestHundredths(int value)
{
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const int64_t magnitude = std::llabs(int64_t(value));
    QString text = QString::number(magnitude / 100);
    if (const int64_t cents = magnitude % 100; cents != 0) {
        text += u'.' + QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
        if (text.endsWith(u'0'))
            text.chop(1);
    }
    return sign + text;
}

QString centimetreText(int tenthsMm)
{
    return u'=' + shortestHundredths(std::abs(tenthsMm)) + u"厘米";
}

QList<int> rulerTicks(int cm, int ppi)
{
    QList<int> ticks;
    for (int n = 0; n <= cm; ++n)
        ticks << screenPixels(100 * n, ppi);
    return ticks;
}

} // namespace PreviewLayout
