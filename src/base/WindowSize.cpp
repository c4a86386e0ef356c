#include "base/WindowSize.h"

#include "base/IniFile.h"

#include <algorithm>

namespace WindowSize {

void save(IniFile &ini, const QString &objectName, QSize size)
{
    const QString section = objectName.toUpper();
    IniFile::Batch batch(ini);
    ini.writeInteger(section, QStringLiteral("FormWidth"), size.width());
    ini.writeInteger(section, QStringLiteral("FormHeight"), size.height());
}

QSize load(const IniFile &ini, const QString &objectName, QSize current, QSize screen)
{
    const QString section = objectName.toUpper();
    const int width = ini.readInteger(section, QStringLiteral("FormWidth"), current.width());
    const int height = ini.readInteger(section, QStringLiteral("FormHeight"), current.height());
    return {std::min(width, screen.width()), std::min(height, screen.height())};
}

} // namespace WindowSize
