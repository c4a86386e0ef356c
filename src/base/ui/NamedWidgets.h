#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Controls made with the objectName that tests and layouts find them by.

// A push button that Enter in a dialog's fields never presses by itself.
QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption,
                         const QString &hint = {});
QLabel *namedLabel(QWidget *parent, const char *name, const QString &caption);
// Makes a label a window's heading: bold, `scale` times its font, whether that font is sized
// in points or, as the program's own font is, in pixels.
void makeHeading(QLabel *label, double scale);
