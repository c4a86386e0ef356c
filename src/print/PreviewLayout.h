#pragma once

#include <QList>
#include <QString>

// Screen geometry of the print preview and the calibration window: real-size positions on a
// screen of a given resolution, centimetre rulers and centimetre texts. Lengths come in tenths
// of a millimetre.
namespace PreviewLayout {

// round(v / 254 * ppi) with ties to even.
int screenPixels(int tenthsMm, int ppi);

// A value in hundredths written in its shortest decimal form: 30 -> "0.3", 1270 -> "12.7",
// -25 -> "-0.25", 300 -> "3".
QString shortestHundredths(int value);
// "=" + |value| / 100 + "厘米", the text beside an offset or paper size field.
QString centimetreText(int tenthsMm);

// The pixel position of every centimetre mark 0..cm of a ruler.
QList<int> rulerTicks(int cm, int ppi);

} // namespace PreviewLayout
