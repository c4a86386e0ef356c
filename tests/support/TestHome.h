#pragma once

#include "ScriptedUi.h"
#include "services/AppServices.h"

#include <QSqlRecord>
#include <QTemporaryDir>
#include <memory>

// A schema of its own on the test server, empty until used and dropped with this object.
class ServerSchema
{
public:
    ServerSchema();
    ~ServerSchema();
    ServerSchema(const ServerSchema &) = delete;
    ServerSchema &operator=(const ServerSchema &) = delete;

    const ServerAddress &address() const { return m_address; }
    // Runs one statement on the schema's server connection; false when it failed.
    bool exec(const QString &sql) const;
    // How many tables the schema holds; -1 when it cannot be read.
    int tableCount() const;

private:
    ServerAddress m_address;
};

// A temporary data home with its services, populated and seeded as on a first start. With
// LANYAN_TEST_PG set, its database is a fresh schema on that PostgreSQL server instead of the
// SQLite file, dropped again with the home.
class TestHome
{
public:
    enum class Engine {
        AsTheRunSays, // the test server when LANYAN_TEST_PG is set, else the file
        LocalFile,    // the SQLite file whatever the run says, for cases of moving off it
    };

    explicit TestHome(Engine engine = Engine::AsTheRunSays);
    ~TestHome();
    TestHome(const TestHome &) = delete;
    TestHome &operator=(const TestHome &) = delete;

    // True when the homes' databases are on the test server.
    static bool onServer();
    // The test server's address (incomplete when LANYAN_TEST_PG is not set).
    static ServerAddress testServer();
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
    std::unique_ptr<ServerSchema> m_schema;
    std::unique_ptr<AppServices> m_services;
};

// For a case that needs the test server: skipped with the reason when LANYAN_TEST_PG is unset.
#define NEEDS_TEST_SERVER()                                                                        \
    if (!TestHome::onServer())                                                                     \
    GTEST_SKIP() << "needs a PostgreSQL server: set LANYAN_TEST_PG (scripts/pg-cluster start)"

// For a case about the SQLite file itself, or written in its dialect: the shared database has
// none of it.
#define SKIP_ON_SERVER(what)                                                                       \
    if (TestHome::onServer())                                                                      \
    GTEST_SKIP() << "a case of the SQLite file (" what "), and the homes are on the test server"
