#pragma once

#include "base/DataHome.h"
#include "base/DebugTrace.h"
#include "data/Database.h"
#include "data/Grids.h"
#include "data/Parties.h"
#include "data/Settings.h"
#include "data/Spreadsheets.h"
#include "parties/Dictionaries.h"
#include "print/PrintEngine.h"
#include "services/VendorWeb.h"
#include "templates/Catalogue.h"

#include <QString>

class Ui;

// The services the main frame offers every window. Built from a data home, without any window,
// so a test can make one in a temporary folder.
class AppServices
{
public:
    static constexpr const char *kAppVersion = "10.3";

    AppServices(Ui &ui, const QString &runPath);

    const QString &getRunPath() const { return m_home.runPath(); }
    const DataHome &home() const { return m_home; }
    QString appVersion() const { return QString::fromLatin1(kAppVersion); }
    // What the user must be told once about the data home or the database; empty when fine.
    const QString &startupProblem() const { return m_startupProblem; }
    // Opens the database Config.ini names, again after a failed start; startupProblem() says
    // what went wrong.
    void openDatabase();
    // Makes this workstation use its own database file from now on, and opens it. Answers the
    // error text, empty on success.
    QString useLocalDatabase();

    Ui &ui() { return m_ui; }
    Database &database() { return m_database; }
    Settings &settings() { return m_settings; }
    DebugTrace &debug() { return m_debug; }
    VendorWeb &web() { return m_web; }
    Catalogue &catalogue() { return m_catalogue; }
    Parties &parties() { return m_parties; }
    Dictionaries &dictionaries() { return m_dictionaries; }
    Spreadsheets &spreadsheets() { return m_spreadsheets; }
    Grids &grids() { return m_grids; }
    PrintEngine &printEngine() { return m_printEngine; }

private:
    Ui &m_ui;
    DataHome m_home;
    Database m_database;
    Settings m_settings;
    DebugTrace m_debug;
    VendorWeb m_web;
    QString m_startupProblem;
    Catalogue m_catalogue;
    Parties m_parties;
    Dictionaries m_dictionaries;
    Spreadsheets m_spreadsheets;
    Grids m_grids;
    PrintEngine m_printEngine;
};
