#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// Text and number helpers of the print engine. Positions are tenths of a millimetre.
namespace PrintText {

// Cuts at every occurrence of the separator; the piece after the last one is always kept, so
// "a##" gives "a" and "" and a text without the separator gives itself.
QStringList SplitByDelimiter(const QString &text, const QString &separator);

// Breaks a text into lines of n full-width characters, counted in GBK bytes (a Chinese
// character 2, an ASCII character 1): every line but the last has 2n or 2n + 1 bytes, and no
// line ends inside a character.
QStringList splitByWidth(const QString &text, int n);

// The device pixel of a coordinate at a resolution in pixels per inch, rounded three times
// with ties to even exactly as the printed positions were always measured.
int deviceCoordinate(int tenthsMm, int dpi);

// Removes leading and trailing control characters and ASCII spaces; a full-width space a
// clerk typed to indent a value stays.
QString trimValue(const QString &text);

// A colour stored as a decimal 0x00BBGGRR; system colours (0x80000000 + index) and texts
// that are no number print black.
QColor itemColour(const QString &text);

} // namespace PrintText
