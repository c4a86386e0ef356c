#include "ScriptedUi.h"

Ui::Answer ScriptedUi::showMessage(const QString &text, const QString &caption, Icon icon,
                                   Buttons buttons)
{
    shown.push_back({text, caption, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.empty())
        return Answer::No;
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

QString ScriptedUi::chooseOpenFile(const QString &caption, const QString &, const QString &)
{
    chosen << caption;
    if (m_files.empty())
        return {};
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedUi::chooseSaveFile(const QString &caption, const QString &filter,
                                   const QString &directory)
{
    return chooseOpenFile(caption, filter, directory);
}

QString ScriptedUi::giveMeAnValue(const QString &prompt, const QString &defaultValue,
                                  const QString &valueType)
{
    prompted.push_back({prompt, defaultValue, valueType});
    if (m_values.empty())
        return {};
    const QString value = m_values.front();
    m_values.pop_front();
    return value;
}

QStringList ScriptedUi::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list << s.text;
    return list;
}
