#include "base/ui/NamedWidgets.h"

#include <QLabel>
#include <gtest/gtest.h>

// The program's own font is sized in pixels (its point size reads -1), so a heading scaled by
// points alone came out at Qt's default size instead of larger.
TEST(Heading, GrowsAndTurnsBoldWhateverUnitTheFontUses)
{
    QLabel inPixels(QStringLiteral("单位详细资料"));
    QFont pixels = inPixels.font();
    pixels.setPixelSize(12);
    inPixels.setFont(pixels);
    makeHeading(&inPixels, 1.5);
    EXPECT_EQ(inPixels.font().pixelSize(), 18);
    EXPECT_TRUE(inPixels.font().bold());

    QLabel inPoints(QStringLiteral("单位详细资料"));
    QFont points = inPoints.font();
    points.setPointSizeF(10);
    inPoints.setFont(points);
    makeHeading(&inPoints, 1.4);
    EXPECT_DOUBLE_EQ(inPoints.font().pointSizeF(), 14);
    EXPECT_TRUE(inPoints.font().bold());
}
