#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The amount texts of Chinese bills: the capital amount with units, one capital digit per
// pre-printed box, and the checks and clean-up of what the user types.
//
// Amounts are worked on as decimal text, never as binary floating point, so that 0.285 rounds
// to 0.29 as the clerk wrote it (a double holds 0.28499... and would print 0.28). Halves round
// away from zero.

// What the amount functions answer when the integer part needs more digits than there is
// room for: more cells than given, or more than the capital unit table covers.
inline const QString kBeyondDigitLimit = QStringLiteral("超出位数限制");

// The capital form of one digit character '0'..'9' ("零壹贰叁肆伍陆柒捌玖"); a null QChar for any
// other character.
QChar capitalDigit(QChar digit);

// Capital amount with units: "1234.56" gives 壹仟贰佰叁拾肆元伍角陆分, zero gives 零元整. The
// amount is a non-negative decimal text with "." as the point. Empty text when the amount is
// not such a number (letters, several points, a minus sign); kBeyondDigitLimit from
// 10 000 000 000 000 yuan on, where the unit table ends.
QString getCapitalAmount(const QString &amount);

// One capital digit per box: the integer part padded with zeros to `integerCells` digits, then
// the decimals of `decimalPattern` ("0" none, "0.0" or ".0" one, anything else two). Commas in
// the amount are ignored. Zero gives the single character 零; an integer part longer than
// `integerCells` gives kBeyondDigitLimit; an amount that is not a non-negative number gives
// empty text.
QString getCapitalDigitCells(const QString &amount, int integerCells,
                             const QString &decimalPattern);

// The amount with exactly two decimals, halves away from zero ("1234.5" gives 1234.50, ".5"
// gives 0.50); nothing when it is not a non-negative decimal number.
std::optional<QString> amountWithTwoDecimals(const QString &amount);

// What the user typed, as plain half-width digits and points: full-width digits and points
// become half-width, everything else (commas, signs, letters, 元) is dropped.
QString normalizeAmountText(const QString &text);

// Every character is a digit or "." (several points pass), and the text is not blank.
// Surrounding spaces make the text not numeric.
bool isNumericText(const QString &text);
// The same with digits only.
bool isIntegerText(const QString &text);

// An entry of the amount-format drop-down: digit cells of a given layout, the amount as typed,
// or the capital amount with units.
struct AmountFormat
{
    enum class Mode { DigitCells, AsTyped, Capital };

    Mode mode = Mode::DigitCells;
    int integerCells = 0;
    QString decimalPattern; // "0", "0.0" or "0.00" for digit cells

    bool operator==(const AmountFormat &) const = default;
};

// The entries of the amount-format drop-down, in their order: twelve digit-cell layouts, then
// "打印小写金额" and "打印中国传统大写金额".
const QStringList &amountFormatEntries();

// Reads an entry such as "00000.00  限万位到分" into 5 cells and pattern "0.00". Empty when
// the entry is neither one of the two mode entries nor a pattern of zeros with at most one
// point followed by a space or the end.
std::optional<AmountFormat> parseAmountFormat(const QString &entry);
