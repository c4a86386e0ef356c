#pragma once

#include <QString>

// Lays out a data home: creates its folders and copies the shipped pictures into Image/
// (never over a picture the user replaced).
class DataHome
{
public:
    explicit DataHome(QString runPath);

    const QString &runPath() const { return m_runPath; }
    QString dataDir() const { return m_runPath + u"Data/"; }
    QString imageDir() const { return m_runPath + u"Image/"; }
    QString tempDir() const { return m_runPath + u"Temp/"; }
    QString databasePath() const { return dataDir() + u"EPData.ini"; }
    QString configIniPath() const { return m_runPath + u"Config.ini"; }
    QString debugIniPath() const { return m_runPath + u"Debug.ini"; }

    // True when the home had never been populated before populate() ran.
    bool wasFresh() const { return m_wasFresh; }
    // Creates what is missing; false when the folders cannot be made.
    bool populate();

private:
    QString m_runPath;
    bool m_wasFresh = false;
};
