#include "bills/AmountText.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <utility>

namespace {

const QString kDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
// The unit of the k-th digit from the right of an amount in fen is at index 26 - k; only
// indexes 11 to 25 are units, so amounts hold at most 15 digits of fen.
const QString kUnits = QStringLiteral("零壹贰叁肆伍陆柒捌玖-万仟佰拾亿仟佰拾万仟佰拾元角分");
constexpr int kMaxFenDigits = 15;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A non-negative decimal amount rounded to `decimals` places, halves away from zero, as its
// digit string without the point: the last `decimals` digits are the fraction and the integer
// part keeps no leading zeros but at least one digit. Empty when the text is not such a number.
std::optional<QString> roundedDigits(const QString &amount, int decimals)
{
    static const QRegularExpression number(QStringLiteral("^\\+?([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch m = number.match(amount.trimmed());
    if (!m.hasMatch() || (m.capturedLength(1) == 0 && m.capturedLength(2) == 0))
        return std::nullopt;
    const QString fraction = m.captured(2);
    QString digits = m.captured(1) + fraction.left(decimals).leftJustified(decimals, u'0');

    if (fraction.size() > decimals && fraction.at(decimals) >= u'5') {
        int i = digits.size() - 1;
        for (; i >= 0 && digits.at(i) == u'9'; --i)
            digits[i] = u'0';
        if (i >= 0)
            digits[i] = QChar(digits.at(i).unicode() + 1);
        else
            digits.prepend(u'1');
    }

    qsizetype leadingZeros = 0;
    while (leadingZeros < digits.size() - decimals - 1 && digits.at(leadingZeros) == u'0')
        ++leadingZeros;
    return digits.mid(leadingZeros).rightJustified(decimals + 1, u'0');
}

bool isZero(const QString &digits)
{
    return std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u'0'; });
}

QString capitalDigits(const QString &digits)
{
    QString text;
    text.reserve(digits.size());
    for (QChar c : digits)
        text += capitalDigit(c);
    return text;
}

int decimalsOfPattern(const QString &pattern)
{
    if (pattern == u"0")
        return 0;
    if (pattern == u"0.0" || pattern == u".0")
        return 1;
    return 2;
}

} // namespace

QChar capitalDigit(QChar digit)
{
    return isDigit(digit) ? kDigits.at(digit.unicode() - u'0') : QChar();
}

QString getCapitalAmount(const QString &amount)
{
    const std::optional<QString> fen = roundedDigits(amount, 2);
    if (!fen)
        return {};
    // Tested after rounding: 0.001 is zero yuan, not a lone 整.
    if (isZero(*fen))
        return QStringLiteral("零元整");
    // The fen as a plain number: below one yuan there is no 元 digit at all.
    const QString digits = fen->mid(fen->indexOf(QRegularExpression(QStringLiteral("[1-9]"))));
    const qsizetype n = digits.size();
    if (n > kMaxFenDigits)
        return kBeyondDigitLimit;

    QString text;
    for (qsizetype i = 0; i < n; ++i)
        text += capitalDigit(digits.at(i)) + kUnits.at(kUnits.size() - n + i);

    // Order matters: the zero runs collapse before the units they precede are dropped.
    static const std::array<std::pair<QString, QString>, 12> cleanUp{{
        {QStringLiteral("零仟"), QStringLiteral("零")},
        {QStringLiteral("零佰"), QStringLiteral("零")},
        {QStringLiteral("零拾"), QStringLiteral("零")},
        {QStringLiteral("零零零"), QStringLiteral("零")},
        {QStringLiteral("零零"), QStringLiteral("零")},
        {QStringLiteral("零亿"), QStringLiteral("亿")},
        {QStringLiteral("零万"), QStringLiteral("万")},
        {QStringLiteral("零元"), QStringLiteral("元")},
        {QStringLiteral("亿万"), QStringLiteral("亿")},
        {QStringLiteral("零角"), QStringLiteral("零")},
        {QStringLiteral("零分"), QStringLiteral("整")},
        {QStringLiteral("零整"), QStringLiteral("整")},
    }};
    for (const auto &[find, replacement] : cleanUp)
        text.replace(find, replacement);
    return text;
}

QString getCapitalDigitCells(const QString &amount, int integerCells, const QString &decimalPattern)
{
    const QString plain = QString(amount).remove(u',');
    const int decimals = decimalsOfPattern(decimalPattern);
    const std::optional<QString> digits = roundedDigits(plain, decimals);
    if (!digits)
        return {};
    // Zero is tested on the amount as typed, before rounding.
    if (std::none_of(plain.begin(), plain.end(), [](QChar c) { return c >= u'1' && c <= u'9'; }))
        return QStringLiteral("零");
    const qsizetype integerDigits = digits->size() - decimals;
    if (integerDigits > integerCells)
        return kBeyondDigitLimit;
    return capitalDigits(digits->rightJustified(integerCells + decimals, u'0'));
}

std::optional<QString> amountWithTwoDecimals(const QString &amount)
{
    const std::optional<QString> fen = roundedDigits(amount, 2);
    if (!fen)
        return std::nullopt;
    return fen->left(fen->size() - 2) + u'.' + fen->right(2);
}

QString normalizeAmountText(const QString &text)
{
    QString plain;
    for (QChar c : text.trimmed()) {
        if (c >= u'０' && c <= u'９')
            plain += QChar(c.unicode() - u'０' + u'0');
        else if (c == u'．' || c == u'。' || c == u'.')
            plain += u'.';
        else if (isDigit(c))
            plain += c;
    }
    return plain;
}

bool isNumericText(const QString &text)
{
    return !text.trimmed().isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return isDigit(c) || c == u'.'; });
}

bool isIntegerText(const QString &text)
{
    return !text.trimmed().isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

const QStringList &amountFormatEntries()
{
    static const QStringList entries{
        QStringLiteral("00000.00  限万位到分"),   QStringLiteral("00000.0   限万位到角"),
        QStringLiteral("00000     限万位无小数"), QStringLiteral("0000.00   限千位到分"),
        QStringLiteral("0000.0    限千位到角"),   QStringLiteral("0000      限千位无小数"),
        QStringLiteral("000.00    限百位到分"),   QStringLiteral("000.0     限百位到角"),
        QStringLiteral("000       限百位无小数"), QStringLiteral("000000.00 限十万位到分"),
        QStringLiteral("000000.0  限十万位到角"), QStringLiteral("000000    限十万位无小数"),
        QStringLiteral("打印小写金额"),           QStringLiteral("打印中国传统大写金额"),
    };
    return entries;
}

std::optional<AmountFormat> parseAmountFormat(const QString &entry)
{
    if (entry == u"打印小写金额")
        return AmountFormat{AmountFormat::Mode::AsTyped, 0, {}};
    if (entry == u"打印中国传统大写金额")
        return AmountFormat{AmountFormat::Mode::Capital, 0, {}};

    // The cell pattern runs up to the first space: the integer cells are the zeros before the
    // point, the decimal pattern is the last of them with the point and what follows.
    static const QRegularExpression pattern(QStringLiteral("^(0+)(\\.0+)?(?: |$)"));
    const QRegularExpressionMatch m = pattern.match(entry.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int cells = int(m.capturedLength(1));
    const QString decimals = m.captured(2);
    return AmountFormat{AmountFormat::Mode::DigitCells, cells,
                        decimals.isEmpty() ? QStringLiteral("0") : u'0' + decimals};
}
