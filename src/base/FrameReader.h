#pragma once

#include <QByteArray>

class QIODevice;

// Reads the records FrameWriter wrote. The writer is the reader helper, which runs libraries
// over files from outside, so its output is outside input as well: a record longer than the
// cap or than what is left of the device breaks the format, and nothing is allocated for it.
class FrameReader
{
public:
    struct Frame
    {
        quint8 tag = 0;
        QByteArray payload;
    };

    FrameReader(QIODevice *device, qint64 maxPayload);

    // The next record; false at the end of the device or where the format breaks (failed()).
    bool next(Frame &frame);
    bool failed() const { return m_failed; }

    // A number at `offset` of a payload; false when the payload is too short.
    static bool numberAt(const QByteArray &payload, qsizetype offset, quint32 &value);
    static bool numberAt(const QByteArray &payload, qsizetype offset, double &value);

private:
    QIODevice *m_device;
    qint64 m_maxPayload;
    bool m_failed = false;
};
