#pragma once

#include <QByteArray>

class QIODevice;

// Writes records of a tag byte, the payload's length in four bytes (little-endian) and the
// payload: the reader helper's answer to the program. See FrameReader.
class FrameWriter
{
public:
    explicit FrameWriter(QIODevice *device);

    void write(quint8 tag, const QByteArray &payload = {});
    // Whether every record so far went to the device whole.
    bool ok() const { return m_ok; }

    // Fixed-size numbers inside a payload, little-endian.
    static void appendNumber(QByteArray &payload, quint32 value);
    static void appendNumber(QByteArray &payload, double value);

private:
    QIODevice *m_device;
    bool m_ok = true;
};
