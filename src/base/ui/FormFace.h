#pragma once

class IniFile;
class QSize;
class QWidget;

// Remember and restore a window's size; only in the normal state, limited to the screen.
void FormFaceSave(const QWidget &window, IniFile &ini);
void FormFaceLoad(QWidget &window, const IniFile &ini);
// The size a window may have on its screen: the free area less the window's frame.
QSize roomOnScreen(const QWidget &window);
// Keeps a window within the free area of its screen: shrunk where it is larger (its scroll
// areas take the rest) and moved inside.
void fitToScreen(QWidget &window);
