#include "base/FontMap.h"
#include "print/QtPrintDevice.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What the designer offers: every installed family with Chinese glyphs.
QStringList installedChineseFamilies()
{
    QStringList families;
    for (const QString &f : QFontDatabase::families())
        if (QFontDatabase::writingSystems(f).contains(QFontDatabase::SimplifiedChinese))
            families << f;
    return families;
}

} // namespace

TEST(FontMap, EveryChineseFacePrintsWithAnInstalledChineseFont)
{
    QStringList faces;
    for (const char *face :
         {"宋体",     "新宋体",          "仿宋",         "仿宋_GB2312", "隶书",         "幼圆",
          "楷体",     "楷体_GB2312",     "黑体",         "微软雅黑",    "华文行楷",     "华文细黑",
          "方正舒体", "@宋体",           " SimSun ",     "FangSong",    "KaiTi_GB2312", "LiSu",
          "YouYuan",  "Microsoft YaHei", "文泉驿微米黑", "华康少女字体"})
        faces << QString::fromUtf8(face);
    const QStringList designer = installedChineseFamilies();
    ASSERT_GE(designer.size(), 3);
    faces += designer;
    for (const QString &face : faces) {
        const QString family = installedFontFamily(face);
        // No fallback: the font that draws is the one the widths were computed for.
        EXPECT_EQ(QFontInfo(QFont(family)).family(), family) << face.toStdString();
        EXPECT_TRUE(isCjkFace(face)) << face.toStdString();
    }
    for (const QString &face : designer)
        EXPECT_EQ(installedFontFamily(face), face) << face.toStdString();
    for (const char *latin : {"Arial", "DejaVu Sans", "Courier New"}) {
        EXPECT_EQ(installedFontFamily(latin), QString::fromLatin1(latin));
        EXPECT_FALSE(isCjkFace(latin)) << latin;
    }
}

TEST(FontMap, ChineseFacesAverageHalfTheirSizeOnThePrinter)
{
    QTemporaryDir dir;
    auto device = QtPrintDevice::pdfFile(dir.filePath("w.pdf"));
    const int pixels = qRound(12 * device->resolutionY() / 72.0);
    for (const QString &face : QStringList{"仿宋", "隶书", "幼圆", "楷体_GB2312", "AR PL UMing TW",
                                           "WenQuanYi Micro Hei Mono"}) {
        device->selectFont({face, 12});
        EXPECT_EQ(device->averageCharWidth(), pixels / 2) << face.toStdString();
    }
}
