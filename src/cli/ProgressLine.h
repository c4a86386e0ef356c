#pragma once

#include <QString>
#include <QTextStream>

// Progress of a command on standard error: a bar redrawn in place on a terminal, a line per
// tenth otherwise (a log keeps every line).
class ProgressLine
{
public:
    explicit ProgressLine(QTextStream &err)
        : m_err(err)
    {}

    void show(qint64 done, qint64 total);

private:
    QTextStream &m_err;
    int m_lastPercent = -1;
};
