#include "print/PrintText.h"

#include <cstdint>
#include <limits>

namespace {

// Rounds num / den (den > 0) to the nearest integer, ties to even.
int64_t roundHalfEven(int64_t num, int64_t den)
{
    int64_t q = num / den;
    const int64_t twiceRest = 2 * (num % den < 0 ? -(num % den) : num % den);
    if (twiceRest > den || (twiceRest == den && q % 2 != 0))
        q += num < 0 ? -1 : 1;
    return q;
}

// GBK width of one character: what is not ASCII takes two bytes.
int byteWidth(char32_t c)
{
    return c < 0x80 ? 1 : 2;
}

} // namespace

namespace PrintText {

QStringList SplitByDelimiter(const QString &text, const QString &separator)
{
    return text.split(separator, Qt::KeepEmptyParts);
}

QStringList splitByWidth(const QString &text, int n)
{
    if (text.isEmpty())
        return {};
    const QList<uint> chars = text.toUcs4();
    qint64 total = 0;
    for (uint c : chars)
        total += byteWidth(c);
    // In 64 bits: twice a huge BreakNum must not wrap round to a width nothing fits in.
    const qint64 width = 2 * qint64(n);
    if (n <= 0 || total <= width)
        return {text};

    QStringList lines;
    qsizetype start = 0;
    while (start < chars.size()) {
        if (total <= width) {
            lines << QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.data() + start),
                                       chars.size() - start);
            break;
        }
        // The shortest prefix of at least 2n bytes; it always ends before the text does,
        // since the rest is longer than that.
        qsizetype end = start;
        qint64 bytes = 0;
        while (end < chars.size() && bytes < width)
            bytes += byteWidth(chars[end++]);
        lines << QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.data() + start),
                                   end - start);
        total -= bytes;
        start = end;
    }
    return lines;
}

int deviceCoordinate(int tenthsMm, int dpi)
{
    // v * r * 1000 / 25.4, in exact integers: v * r * 10000 / 254.
    const int64_t q = roundHalfEven(int64_t(tenthsMm) * dpi * 10000, 254);
    const int64_t t = roundHalfEven(q, 1000);
    return int(roundHalfEven(t, 10));
}

QString trimValue(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= u' ')
        ++first;
    while (last > first && text[last - 1].unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

QColor itemColour(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<uint32_t>::max())
        return Qt::black;
    const auto bgr = uint32_t(value);
    // On paper the window-text colour and its kin are black.
    if (bgr & 0x80000000u)
        return Qt::black;
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

} // namespace PrintText
