#include "data/spreadsheet/PartStream.h"

PartStream::PartStream(QIODevice &source, qint64 maxBytes)
    : m_source(source)
    , m_left(maxBytes)
{
    open(QIODevice::ReadOnly);
}

qint64 PartStream::readData(char *data, qint64 maxSize)
{
    if (m_failed)
        return -1;
    // One byte past the limit tells a part that fills it from one that goes beyond.
    const qint64 n = m_source.read(data, std::min(maxSize, m_left + 1));
    if (n < 0) {
        m_failed = true;
        return -1;
    }
    m_left -= n;
    m_tooLarge = m_left < 0;
    m_runTooLong = !m_tooLarge && !follow(data, n);
    if (m_tooLarge || m_runTooLong) {
        m_failed = true;
        return -1;
    }
    return n;
}

bool PartStream::follow(const char *data, qint64 size)
{
    for (qint64 i = 0; i < size; ++i) {
        const char c = data[i];
        if (m_inSection)
            m_inSection = !(c == '>' && m_before[1] == m_before[0] &&
                            (m_before[1] == ']' || m_before[1] == '-'));
        else if (c == '!' && m_before[1] == '<')
            m_inSection = true;
        m_run = c == '<' && !m_inSection ? 0 : m_run + 1;
        if (m_run > kMaxRunBytes)
            return false;
        m_before[0] = m_before[1];
        m_before[1] = c;
    }
    return true;
}
