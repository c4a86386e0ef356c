#pragma once

#include <QByteArray>

// The binary workbook library trusts several fields of a compound file without checking them
// and then reads out of bounds. This walks a file the way the library will and refuses one
// that would lead it astray; it answers true for anything the library itself rejects safely.
namespace CompoundFileCheck {

bool isSafeForLibrary(const QByteArray &file);

} // namespace CompoundFileCheck
