#include "RecordingPrintDevice.h"

bool RecordingPrintDevice::selectPrinter(const QString &name)
{
    calls << u"select:" + name;
    if (!installed.contains(name))
        return false;
    selected = name;
    return true;
}

bool RecordingPrintDevice::setPage(const QSizeF &formSizeMm, bool landscape)
{
    calls << QStringLiteral("page:%1x%2:%3")
                 .arg(formSizeMm.width())
                 .arg(formSizeMm.height())
                 .arg(landscape ? u"landscape" : u"portrait");
    return true;
}

bool RecordingPrintDevice::setCopies(int copies)
{
    calls << u"copies:" + QString::number(copies);
    return true;
}

bool RecordingPrintDevice::drawText(int x, int y, const QString &text)
{
    if (failing.contains(QStringLiteral("draw")))
        return false;
    texts << Text{x, y, text, m_font};
    return true;
}

bool RecordingPrintDevice::drawLine(int x1, int y1, int x2, int y2)
{
    if (failing.contains(QStringLiteral("draw")))
        return false;
    lines << QLine(x1, y1, x2, y2);
    return true;
}

PrintDevice::SetupResult RecordingPrintDevice::setupDialog()
{
    calls << QStringLiteral("setup");
    return setupAnswer;
}

bool RecordingPrintDevice::record(const QString &call)
{
    calls << call;
    return !failing.contains(call);
}
