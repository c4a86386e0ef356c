#pragma once

#include "base/IniFile.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

class Database;
class Ui;

// The three settings stores: global options in `configtable`, workstation state in
// Config.ini, and per-template "cfg" rows of DMTable (mirrored in each layout cache).
class Settings
{
public:
    Settings(Database &db, Ui &ui, QString configIniPath);

    // On/off options are stored "yes"/"no"; "1" counts as on too.
    static bool isOn(const QString &value);

    // Global settings. A failed read answers an empty text.
    QString getConfigByname(const QString &name) const;
    bool isConfigOn(const QString &name) const { return isOn(getConfigByname(name)); }
    // Answers the database's error text, empty on success.
    QString setConfigByname(const QString &name, const QString &value);
    // Tells a missing row from an empty value.
    std::optional<QString> findConfig(const QString &name) const;
    // Changes an existing row only; answers the error text, empty on success.
    QString updateConfig(const QString &name, const QString &value);
    // Sets several options in one transaction: all are stored or none; answers the error
    // text, empty on success.
    QString setConfigsByname(const QList<std::pair<QString, QString>> &values);

    // Workstation settings. There is one Config.ini object for the program's whole life;
    // opening it again reads the file again in place, so a reference to it stays valid.
    IniFile &OpenUserIniFile();
    IniFile &userIni() { return m_userIni; }
    // Puts pending workstation settings on disk; tells the user and answers false when it cannot.
    bool flushUserIni();
    QString getINIConfigByname(const QString &key);
    bool setINIConfigByname(const QString &key, const QString &value);

    // Per-template settings; on failure tells the user and answers false.
    bool setCheckConfigByName(int checkTypeId, const QString &name, const QString &value);
    static QString getInifCheckConfigByName(const IniFile *layoutCache, const QString &name);

private:
    struct Update
    {
        int rows;
        QString error;
    };
    Update updateConfigRows(const QString &name, const QString &value);

    Database &m_db;
    Ui &m_ui;
    IniFile m_userIni;
};
