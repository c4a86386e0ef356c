#pragma once

#include <QImage>
#include <QString>

namespace PictureFile {

// Template pictures are scans of one paper form shown at natural size; anything larger than
// this on a side is no such scan and would only exhaust memory.
constexpr int kMaxSide = 10000;

// Reads a picture file. A missing, unreadable, damaged or oversized file answers a null image
// and, when asked, a Chinese sentence that says which of these it is.
QImage read(const QString &path, QString *problem = nullptr);

} // namespace PictureFile
