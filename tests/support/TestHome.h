#pragma once

#include "ScriptedUi.h"
#include "services/AppServices.h"

#include <QSqlRecord>
#include <QTemporaryDir>
#include <memory>

// A temporary data home with its services, populated and seeded as on a first start. With
// LANYAN_TEST_PG set, its database is a fresh schema on that PostgreSQL server instead of the
// SQLite file, dropped again with the home.
class TestHome
{
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome &) = delete;
    TestHome &operator=(const TestHome &) = delete;

    // True when the homes' databases are on the test server.
    static bool onServer();
    // The columns a table answers with, whichever engine holds it.
    QSqlRecord columns(const QString &table);

    QString path() const { return m_dir.path() + u'/'; }
    AppServices &services() { return *m_services; }
    Database &db() { return m_services->database(); }
    Settings &settings() { return m_services->settings(); }
    ScriptedUi ui;

    // Connects `db` to this home's database (file or schema), as a second workstation does.
    Database::Status openAnother(Database &db);

    // Builds the services again over the same folder, as a restart of the program would.
    AppServices &restart();

private:
    QTemporaryDir m_dir;
    QString m_schema;
    std::unique_ptr<AppServices> m_services;
};

// For a case about the SQLite file itself, or written in its dialect: the shared database has
// none of it.
#define SKIP_ON_SERVER(what)                                                                       \
    if (TestHome::onServer())                                                                      \
    GTEST_SKIP() << "a case of the SQLite file (" what "), and the homes are on the test server"
