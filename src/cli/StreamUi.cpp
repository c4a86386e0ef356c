#include "cli/StreamUi.h"

#include <cstdio>

StreamUi::StreamUi()
    : m_err(stderr)
{}

Ui::Answer StreamUi::showMessage(const QString &text, const QString &caption, Icon, Buttons buttons)
{
    m_last = text;
    QString line = text.simplified();
    if (!caption.isEmpty())
        line.prepend(caption + u"：");
    m_err << line << Qt::endl;
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}
