#pragma once

#include "base/IniFile.h"

#include <QString>
#include <memory>

// The debug trace: entries in section "debug" of Debug.ini.
class DebugTrace
{
public:
    explicit DebugTrace(QString debugIniPath);

    void OpenDebugInif();
    void DebugOut(const QString &key, const QString &value);
    // Writes under name + "-" + a running counter; the first entry is numbered 1.
    void DebugOutN(const QString &name, const QString &value);

private:
    IniFile &file();

    QString m_path;
    std::unique_ptr<IniFile> m_ini;
    int m_counter = 0;
};
