#include "base/FrameWriter.h"

#include <QIODevice>
#include <QtEndian>
#include <cstring>

FrameWriter::FrameWriter(QIODevice *device)
    : m_device(device)
{}

void FrameWriter::write(quint8 tag, const QByteArray &payload)
{
    char header[5];
    header[0] = char(tag);
    qToLittleEndian(quint32(payload.size()), header + 1);
    m_ok = m_ok && m_device->write(header, sizeof header) == sizeof header &&
           m_device->write(payload) == payload.size();
}

void FrameWriter::appendNumber(QByteArray &payload, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    payload.append(bytes, sizeof bytes);
}

void FrameWriter::appendNumber(QByteArray &payload, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    payload.append(bytes, sizeof bytes);
}
