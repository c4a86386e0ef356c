#pragma once

#include <QByteArray>
#include <QString>

// GBK (code page 936) at the edges that count in bytes or files; QString everywhere inside.
namespace Gbk {
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
// Byte length of the text in GBK: a non-ASCII character counts 2.
int gbkLength(const QString &text);
} // namespace Gbk
