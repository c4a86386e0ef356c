#include "base/DebugTrace.h"

namespace {
const QString kSection = QStringLiteral("debug");
}

DebugTrace::DebugTrace(QString debugIniPath)
    : m_path(std::move(debugIniPath))
{}

void DebugTrace::OpenDebugInif()
{
    if (m_ini)
        m_ini->flush();
    m_ini = std::make_unique<IniFile>(m_path);
}

IniFile &DebugTrace::file()
{
    if (!m_ini)
        OpenDebugInif();
    return *m_ini;
}

void DebugTrace::DebugOut(const QString &key, const QString &value)
{
    file().writeString(kSection, key, value);
}

void DebugTrace::DebugOutN(const QString &name, const QString &value)
{
    ++m_counter;
    file().writeString(kSection, name + u'-' + QString::number(m_counter), value);
}
