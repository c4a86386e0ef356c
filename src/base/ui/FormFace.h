#pragma once

class IniFile;
class QWidget;

// Remember and restore a window's size; only in the normal state, limited to the screen.
void FormFaceSave(const QWidget &window, IniFile &ini);
void FormFaceLoad(QWidget &window, const IniFile &ini);
