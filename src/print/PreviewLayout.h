#pragma once

#include "print/PrintItem.h"

#include <QList>
#include <QRect>
#include <QString>
#include <vector>

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

// One item of a template as the preview shows it.
struct PreviewItem
{
    PrintItem print;
    int srcW = 0; // on-screen size of the item's field, pixels
    int srcH = 0;
    QString text; // sample content, or the item's caption when it has none
};

// One text label on the item panel, relative to the inner rulers' origin.
struct PreviewLabel
{
    QString name; // the item's running number, "_" + line or character index when split
    QRect geometry;
    QString text;
    QString face;
    int pointSize = 0;
};

struct Placement
{
    std::vector<PreviewLabel> labels;
    // Set when an item's FitParam or BreakNum is no whole number; the labels placed before it
    // stay.
    QString error;
};

// Multi-line values travel with this between their lines.
inline const QString kLineSeparator = QStringLiteral("##");

// The labels of the items, numbered from 1 in their order, at `ppi`: lines broken as they
// print, each line `CtlLH` below the previous one, and one label per character when the
// character pitch spans more than one pixel.
Placement placeItems(const std::vector<PreviewItem> &items, int ppi);

} // namespace PreviewLayout
