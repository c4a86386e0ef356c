#include "print/DeviceFont.h"

#include "base/FontMap.h"

#include <QFontMetrics>

namespace {

const QString kDefaultFace = QStringLiteral("宋体");

QString faceOf(const PrintFont &font)
{
    return font.face.isEmpty() ? kDefaultFace : font.face;
}

} // namespace

QFont deviceFont(const PrintFont &font)
{
    QFont f(installedFontFamily(faceOf(font)));
    f.setPointSize(std::max(1, font.pointSize));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

int deviceAverageCharWidth(const PrintFont &font, const QFont &qfont, QPaintDevice *device,
                           int dpiY)
{
    if (isCjkFace(faceOf(font))) {
        const int pixelSize = qRound(qfont.pointSize() * dpiY / 72.0);
        return std::max(1, pixelSize / 2);
    }
    return std::max(1, QFontMetrics(qfont, device).averageCharWidth());
}
