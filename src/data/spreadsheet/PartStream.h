#pragma once

#include <QIODevice>

// One part of a zip package, unpacked as it is parsed, so no part is ever whole in memory.
// It ends early, as a cut file would, beyond `maxBytes` unpacked (a zip bomb) or at a run of
// more than kMaxRunBytes without markup: the XML parser holds a whole text, comment or CDATA
// section in memory, so none may grow past that.
class PartStream : public QIODevice
{
public:
    static constexpr qint64 kMaxRunBytes = qint64(4) << 20;

    PartStream(QIODevice &source, qint64 maxBytes);

    bool isSequential() const override { return true; }
    // Why the part ended early, if it did: too large, a run too long, or a read error.
    bool tooLarge() const { return m_tooLarge; }
    bool runTooLong() const { return m_runTooLong; }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    // Follows the markup of `data`; false where a run gets too long.
    bool follow(const char *data, qint64 size);

    QIODevice &m_source;
    qint64 m_left;
    qint64 m_run = 0;
    // Inside "<!" (a comment or CDATA section, which may hold '<'), and the two bytes before.
    bool m_inSection = false;
    char m_before[2] = {0, 0};
    bool m_tooLarge = false;
    bool m_runTooLong = false;
    bool m_failed = false;
};
