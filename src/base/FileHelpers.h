#pragma once

#include <QString>
#include <QStringList>

namespace FileHelpers {

// Reads the whole source and writes it to the target, created or overwritten. The target is
// replaced only once every byte is on disk, so a failed copy never leaves half a file behind.
// On failure answers false and, when asked, the reason.
bool copyFile(const QString &source, const QString &target, QString *error = nullptr);

// The names (without folder) of the plain files in `folder` that match the wildcard `pattern`
// ("*.jpg"), sorted by name. An empty or missing folder gives an empty list.
QStringList listFiles(const QString &folder, const QString &pattern);

} // namespace FileHelpers
