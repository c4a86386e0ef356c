#pragma once

#include "print/PrintDevice.h"

#include <QFont>

class QPaintDevice;

// A template's font on a device of ours, and its average character width there in device
// pixels. Chinese faces count half their size, so a template prints at the same place
// whichever substitute is installed; the preview uses the same rule as the paper.
QFont deviceFont(const PrintFont &font);
int deviceAverageCharWidth(const PrintFont &font, const QFont &qfont, QPaintDevice *device,
                           int dpiY);
