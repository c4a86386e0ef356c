#include "batch/ImportLog.h"

namespace {

QString rowKey(int row)
{
    return u'N' + QString::number(row);
}

} // namespace

ImportLog::ImportLog(const QString &runPath)
    : m_ini(fileName(runPath))
{}

QString ImportLog::fileName(const QString &runPath)
{
    return runPath + QStringLiteral("ImportLog.txt");
}

bool ImportLog::start()
{
    IniFile::Batch batch(m_ini);
    bool ok = true;
    for (const char *section : {"INFO", "LOG", "ERR"})
        ok = m_ini.eraseSection(QString::fromLatin1(section)) && ok;
    return ok;
}

bool ImportLog::info(const QString &key, const QString &value)
{
    return m_ini.writeString(QStringLiteral("INFO"), key, value);
}

bool ImportLog::log(int row, const QString &reason)
{
    return m_ini.writeString(QStringLiteral("LOG"), rowKey(row), reason);
}

bool ImportLog::error(int row, const QString &reason)
{
    return m_ini.writeString(QStringLiteral("ERR"), rowKey(row), reason);
}

bool ImportLog::flush()
{
    return m_ini.flush();
}
