#include "base/FontMap.h"

#include <QHash>

QString installedFontFamily(const QString &windowsFace)
{
    static const QHash<QString, QString> map{
        {QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("新宋体"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("simsun"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("nsimsun"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("楷体"), QStringLiteral("AR PL UKai CN")},
        {QStringLiteral("楷体_gb2312"), QStringLiteral("AR PL UKai CN")},
        {QStringLiteral("kaiti"), QStringLiteral("AR PL UKai CN")},
        {QStringLiteral("黑体"), QStringLiteral("WenQuanYi Micro Hei")},
        {QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei")},
        {QStringLiteral("simhei"), QStringLiteral("WenQuanYi Micro Hei")},
        {QStringLiteral("microsoft yahei"), QStringLiteral("WenQuanYi Micro Hei")},
    };
    return map.value(windowsFace.trimmed().toLower(), windowsFace);
}
