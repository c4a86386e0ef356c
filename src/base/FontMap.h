#pragma once

#include <QString>

// The Windows faces that templates and windows name, mapped to the installed substitutes
// (宋体 -> AR PL UMing CN, 楷体 -> AR PL UKai CN, 黑体 -> WenQuanYi Micro Hei). Other names
// pass through unchanged.
QString installedFontFamily(const QString &windowsFace);
