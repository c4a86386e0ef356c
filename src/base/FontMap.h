#pragma once

#include <QString>

// The faces that templates and windows name, mapped to installed fonts: the Windows Chinese
// faces go to the substitute of their look (宋体/仿宋 -> AR PL UMing CN, 楷体/隶书 -> AR PL UKai
// CN, 黑体/幼圆 -> WenQuanYi Micro Hei); any other Chinese face that is not installed goes to the
// 宋体 substitute. Installed faces and Latin names pass through unchanged.
QString installedFontFamily(const QString &windowsFace);

// Whether the face prints with a Chinese font, whose average character width is taken as half
// its size (as the Windows system font reports it) so positions never depend on which
// substitute is installed.
bool isCjkFace(const QString &face);
