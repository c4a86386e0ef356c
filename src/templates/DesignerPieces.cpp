#include "templates/DesignerPieces.h"

#include <cmath>

namespace DesignerPieces {

int Scale::pixels(int tenths) const
{
    return int(std::lround(tenths / 10.0 / mmPerPixel));
}

int Scale::tenths(int pixels) const
{
    return int(std::lround(pixels * 10.0 * mmPerPixel));
}

QSize areaOf(const DesignerItem &item, const Scale &scale)
{
    return {item.ctlW > 0 ? scale.pixels(item.ctlW) : item.srcW,
            item.ctlH > 0 ? scale.pixels(item.ctlH) : item.srcH};
}

namespace {

void addCells(std::vector<Piece> &out, const Piece &piece, int cell)
{
    const QList<uint> chars = piece.text.toUcs4();
    for (qsizetype k = 0; k < chars.size(); ++k) {
        const char32_t c = chars[k];
        out.push_back(
            {piece.name + u'R' + QString::number(k + 1), piece.group,
             QRect(piece.rect.x() + int(k) * cell, piece.rect.y(), cell, piece.rect.height()),
             QString::fromUcs4(&c, 1), piece.pointSize});
    }
}

} // namespace

std::vector<Piece> piecesOf(const DesignerItem &item, const Scale &scale)
{
    const QString text = item.displayText();
    if (text.isEmpty())
        return {};
    const PrintItem &p = item.print;
    const QSize area = areaOf(item, scale);
    const QPoint at(scale.pixels(p.x), scale.pixels(p.y));

    std::vector<Piece> lines;
    const QStringList broken = p.lines(text, QStringLiteral("##"));
    if (broken.size() > 1) {
        const int lineHeight = scale.pixels(p.lineHeight);
        for (qsizetype n = 0; n < broken.size(); ++n)
            lines.push_back({item.ctlName + u'L' + QString::number(n), item.ctlName,
                             QRect(at.x(), at.y() + int(n) * lineHeight, area.width(), lineHeight),
                             broken[n], p.fontSizeFor(broken.size())});
    } else {
        lines.push_back({item.ctlName, item.ctlName, QRect(at, area), text, p.fontSize});
    }

    int pitch = 0;
    const int cell = p.pitch(&pitch) && pitch > kMinCellPitch ? scale.pixels(pitch) : 0;
    if (cell < 1)
        return lines;
    std::vector<Piece> cells;
    for (const Piece &line : lines)
        addCells(cells, line, cell);
    return cells;
}

} // namespace DesignerPieces
