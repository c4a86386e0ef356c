#include "base/FrameReader.h"

#include <QIODevice>
#include <QtEndian>
#include <cstring>

FrameReader::FrameReader(QIODevice *device, qint64 maxPayload)
    : m_device(device)
    , m_maxPayload(maxPayload)
{}

bool FrameReader::next(Frame &frame)
{
    if (m_failed)
        return false;
    char header[5];
    const qint64 got = m_device->read(header, sizeof header);
    if (got != sizeof header) {
        m_failed = got != 0;
        return false;
    }
    const quint32 length = qFromLittleEndian<quint32>(header + 1);
    // A sequential device tells nothing of what is left; a file does.
    const qint64 left = m_device->isSequential() ? m_maxPayload : m_device->bytesAvailable();
    if (length > m_maxPayload || length > left) {
        m_failed = true;
        return false;
    }
    frame.tag = quint8(header[0]);
    frame.payload = m_device->read(length);
    m_failed = frame.payload.size() != qsizetype(length);
    return !m_failed;
}

bool FrameReader::numberAt(const QByteArray &payload, qsizetype offset, quint32 &value)
{
    if (offset < 0 || payload.size() - offset < 4)
        return false;
    value = qFromLittleEndian<quint32>(payload.constData() + offset);
    return true;
}

bool FrameReader::numberAt(const QByteArray &payload, qsizetype offset, double &value)
{
    if (offset < 0 || payload.size() - offset < 8)
        return false;
    const quint64 bits = qFromLittleEndian<quint64>(payload.constData() + offset);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}
