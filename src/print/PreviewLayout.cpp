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

namespace {

struct Placer
{
    const PreviewItem &item;
    int lineHeight;
    int pitch;
    Placement &out;

    void place(const QString &name, int x, int y, const QString &text, int pointSize,
               bool breakLines) const
    {
        if (text.isEmpty())
            return;
        if (breakLines) {
            const QStringList lines = item.print.lines(text, kLineSeparator);
            if (lines.size() > 1) {
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    if (!lines[i].trimmed().isEmpty())
                        place(name + u'_' + QString::number(i), x, y + int(i) * lineHeight,
                              lines[i], item.print.fontSizeFor(lines.size()), false);
                }
                return;
            }
            if (lines.isEmpty())
                return;
            place(name, x, y, lines.front(), pointSize, false);
            return;
        }
        if (pitch > 1) {
            const QList<uint> chars = text.trimmed().toUcs4();
            for (qsizetype i = 0; i < chars.size(); ++i) {
                const char32_t c = chars[i];
                placeLabel(name + u'_' + QString::number(i), x + int(i) * pitch, y,
                           QString::fromUcs4(&c, 1), pointSize);
            }
            return;
        }
        placeLabel(name, x, y, text, pointSize);
    }

    void placeLabel(const QString &name, int x, int y, const QString &text, int pointSize) const
    {
        out.labels.push_back(
            {u"lb" + name, QRect(x, y, item.srcW, item.srcH), text, item.print.face, pointSize});
    }
};

bool isWholeNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toInt(&ok);
    return ok;
}

} // namespace

Placement placeItems(const std::vector<PreviewItem> &items, int ppi)
{
    Placement out;
    int counter = 0;
    for (const PreviewItem &item : items) {
        ++counter;
        const PrintItem &p = item.print;
        int fit = 0;
        if ((!p.fitParam.isEmpty() && !p.pitch(&fit)) ||
            (!p.breakNumText.isEmpty() && !isWholeNumber(p.breakNumText))) {
            out.error = u"项目" + QString::number(counter) +
                        u"的字符间距或换行字数不是整数：FitParam=" + p.fitParam + u"，BreakNum=" +
                        p.breakNumText;
            return out;
        }
        const Placer placer{item, screenPixels(p.lineHeight, ppi), screenPixels(fit, ppi), out};
        placer.place(QString::number(counter), screenPixels(p.x, ppi), screenPixels(p.y, ppi),
                     item.text, p.fontSize, true);
    }
    return out;
}

} // namespace PreviewLayout
