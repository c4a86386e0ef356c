#pragma once

#include "templates/DesignerStore.h"

#include <QRect>
#include <QString>
#include <vector>

// Where the designer paints an item: one piece per printed line, one per character cell when
// the item prints in cells wider than 2.5 mm. Lines are broken by the print engine's own rule,
// so the page shows what prints.
namespace DesignerPieces {

// Millimetres per pixel of the page view; tenths and pixels convert through it, rounded.
struct Scale
{
    double mmPerPixel = 1.0;

    int pixels(int tenths) const;
    int tenths(int pixels) const;
};

struct Piece
{
    QString name;  // CtlName, + "L" + line, + "R" + character from 1
    QString group; // CtlName: all pieces of an item move, colour and go together
    QRect rect;    // page pixels
    QString text;
    int pointSize = 0;
};

// Cells only from 2.6 mm on: narrower pitches print, but painted apart they would overlap.
constexpr int kMinCellPitch = 25;

// The item's print area in pixels: CtlW × CtlH, or the on-screen box where not measured yet.
QSize areaOf(const DesignerItem &item, const Scale &scale);
std::vector<Piece> piecesOf(const DesignerItem &item, const Scale &scale);

} // namespace DesignerPieces
