#pragma once

#include <QSize>
#include <QString>

class IniFile;

// Remembered sizes of windows in Config.ini: section = the window's object name upper-cased,
// keys FormWidth and FormHeight. Only windows in the normal state save or load.
namespace WindowSize {

void save(IniFile &ini, const QString &objectName, QSize size);
// The remembered size (default: `current`), limited to the screen.
QSize load(const IniFile &ini, const QString &objectName, QSize current, QSize screen);

} // namespace WindowSize
