#include "base/FontMap.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>

namespace {

const QString kMing = QStringLiteral("AR PL UMing CN");
const QString kKai = QStringLiteral("AR PL UKai CN");
const QString kHei = QStringLiteral("WenQuanYi Micro Hei");

// Lower-case Windows and designer face names, by the look of the substitute: serif (宋, 仿宋),
// brush (楷, 隶, 行书) and sans (黑, 圆). The localized names of the installed fonts are here
// too, since a template may have been saved under either.
const QHash<QString, QString> &knownFaces()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        for (const char *face : {"宋体",         "新宋体",      "宋体-方正超大字符集",
                                 "仿宋",         "仿宋_gb2312", "华文宋体",
                                 "华文中宋",     "华文仿宋",    "方正书宋简体",
                                 "方正仿宋简体", "simsun",      "nsimsun",
                                 "simsun-extb",  "fangsong",    "fangsong_gb2312",
                                 "stsong",       "stzhongsong", "stfangsong",
                                 "mingliu",      "pmingliu",    "细明体",
                                 "新细明体",     "ar pl uming", "文鼎pl细上海宋"})
            m.insert(QString::fromUtf8(face), kMing);
        for (const char *face :
             {"楷体",     "楷体_gb2312", "隶书",         "华文楷体",  "华文行楷",
              "华文隶书", "华文新魏",    "方正舒体",     "方正姚体",  "方正楷体简体",
              "标楷体",   "kaiti",       "kaiti_gb2312", "simkai",    "lisu",
              "stkaiti",  "stxingkai",   "stliti",       "stxinwei",  "fzshuti",
              "fzyaoti",  "dfkai-sb",    "ar pl ukai",   "文鼎pl中楷"})
            m.insert(QString::fromUtf8(face), kKai);
        for (const char *face : {"黑体",
                                 "微软雅黑",
                                 "幼圆",
                                 "等线",
                                 "华文细黑",
                                 "华文黑体",
                                 "华文彩云",
                                 "华文琥珀",
                                 "方正黑体简体",
                                 "微软正黑体",
                                 "simhei",
                                 "microsoft yahei",
                                 "microsoft yahei ui",
                                 "youyuan",
                                 "dengxian",
                                 "stxihei",
                                 "stheiti",
                                 "stcaiyun",
                                 "sthupo",
                                 "microsoft jhenghei",
                                 "文泉驿微米黑",
                                 "文泉驛微米黑",
                                 "文泉驿等宽微米黑",
                                 "文泉驛等寬微米黑"})
            m.insert(QString::fromUtf8(face), kHei);
        return m;
    }();
    return map;
}

QString normalised(const QString &face)
{
    QString name = face.trimmed().toLower();
    // A vertical-writing face ("@宋体") prints with the glyphs of the upright one.
    if (name.startsWith(u'@'))
        name.remove(0, 1);
    return name;
}

bool hasHan(const QString &text)
{
    for (const QChar c : text)
        if (c.script() == QChar::Script_Han)
            return true;
    return false;
}

bool isInstalled(const QString &family)
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
           QFontDatabase::hasFamily(family);
}

} // namespace

QString installedFontFamily(const QString &windowsFace)
{
    const QString name = normalised(windowsFace);
    if (const auto it = knownFaces().constFind(name); it != knownFaces().constEnd())
        return *it;
    if (isInstalled(windowsFace.trimmed()))
        return windowsFace.trimmed();
    // A Chinese face this machine does not have: the fallback font would have no Chinese
    // glyphs at all, and its widths would move every printed field.
    if (hasHan(name))
        return kMing;
    return windowsFace;
}

bool isCjkFace(const QString &face)
{
    const QString family = installedFontFamily(face);
    if (family == kMing || family == kKai || family == kHei)
        return true;
    if (!isInstalled(family))
        return false;
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::SimplifiedChinese) ||
           systems.contains(QFontDatabase::TraditionalChinese);
}
