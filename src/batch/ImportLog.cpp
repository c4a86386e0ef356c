#include "batch/ImportLog.h"

#include "base/Gbk.h"

namespace {

// One INI line; a line break would split the entry in two on the next read.
QString entry(const QString &key, QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    return key + u'=' + value + u"\r\n";
}

QString rowKey(int row)
{
    return u'N' + QString::number(row);
}

} // namespace

ImportLog::ImportLog(const QString &runPath)
    : m_path(fileName(runPath))
    , m_file(m_path)
{}

QString ImportLog::fileName(const QString &runPath)
{
    return runPath + QStringLiteral("ImportLog.txt");
}

bool ImportLog::start()
{
    m_file.close();
    m_pendingLog.clear();
    m_pendingErrors.clear();
    m_errors.clear();
    m_info.clear();
    m_ok = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    write(QStringLiteral("[LOG]\r\n"));
    return m_ok;
}

void ImportLog::info(const QString &key, const QString &value)
{
    for (auto &pair : m_info) {
        if (pair.first == key) {
            pair.second = value;
            return;
        }
    }
    m_info.append({key, value});
}

void ImportLog::log(int row, const QString &reason)
{
    m_pendingLog += entry(rowKey(row), reason);
}

void ImportLog::error(int row, const QString &reason)
{
    m_pendingErrors += entry(rowKey(row), reason);
}

void ImportLog::commit()
{
    write(m_pendingLog);
    m_errors += m_pendingErrors;
    rollback();
}

void ImportLog::rollback()
{
    m_pendingLog.clear();
    m_pendingErrors.clear();
}

bool ImportLog::finish()
{
    commit();
    QString tail = u"[ERR]\r\n" + m_errors + u"[INFO]\r\n";
    for (const auto &[key, value] : std::as_const(m_info))
        tail += entry(key, value);
    write(tail);
    m_ok = m_file.flush() && m_ok;
    m_file.close();
    return m_ok;
}

void ImportLog::write(const QString &text)
{
    if (!text.isEmpty() && m_file.isOpen())
        m_ok = m_file.write(Gbk::encode(text)) >= 0 && m_ok;
}
