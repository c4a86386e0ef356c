#include "cli/ProgressLine.h"

#include <unistd.h>

void ProgressLine::show(qint64 done, qint64 total)
{
    const int percent = total > 0 ? int(done * 100 / total) : 100;
    if (isatty(STDERR_FILENO)) {
        constexpr int kWidth = 30;
        const int filled = percent * kWidth / 100;
        m_err << u'\r' << u'[' << QString(filled, u'#') << QString(kWidth - filled, u'-')
              << QStringLiteral("] ") << done << u'/' << total << (done == total ? "\n" : "")
              << Qt::flush;
    } else if (percent / 10 != m_lastPercent / 10 || done == total) {
        m_err << done << " / " << total << Qt::endl;
    }
    m_lastPercent = percent;
}
