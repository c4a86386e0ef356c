#include "TestHome.h"

#include "base/DataHome.h"
#include "base/IniFile.h"
#include "data/DatabaseChoice.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <atomic>

namespace {

// LANYAN_TEST_PG=postgresql://... runs every home on that server, each in a schema of its own.
ServerAddress testServer()
{
    static const ServerAddress server =
        ServerAddress::fromUrl(qEnvironmentVariable("LANYAN_TEST_PG"));
    return server;
}

QString freshSchemaName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

} // namespace

TestHome::TestHome()
{
    // The vendor's site is the loopback address in tests: a frame whose clock reaches the
    // service check never asks anything beyond this machine.
    QFile config(path() + u"Config.ini");
    if (config.open(QIODevice::WriteOnly))
        config.write("[Online]\r\nHost=127.0.0.1\r\n");
    config.close();
    if (testServer().isComplete()) {
        DatabaseChoice choice{DatabaseChoice::Kind::Shared, testServer()};
        choice.server.schema = m_schema = freshSchemaName();
        IniFile ini(config.fileName());
        const DataHome home(path());
        const QString error = choice.write(ini, home);
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
    }
    restart();
}

TestHome::~TestHome()
{
    m_services.reset();
    if (m_schema.isEmpty())
        return;
    const QString name = QStringLiteral("lanyan_test_cleanup");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const ServerAddress server = testServer();
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setPassword(server.password);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("SET client_min_messages = warning")))
            q.exec(u"DROP SCHEMA IF EXISTS " + m_schema + u" CASCADE");
    }
    QSqlDatabase::removeDatabase(name);
}

bool TestHome::onServer()
{
    return testServer().isComplete();
}

QSqlRecord TestHome::columns(const QString &table)
{
    QSqlQuery q = db().query();
    q.exec(u"SELECT * FROM " + Database::quoted(table) + u" WHERE 1 = 0");
    return q.record();
}

Database::Status TestHome::openAnother(Database &db)
{
    const DataHome home(path());
    const DatabaseChoice choice = DatabaseChoice::read(settings().userIni(), home);
    return choice.kind == DatabaseChoice::Kind::Shared ? db.openServer(choice.server)
                                                       : db.open(home.databasePath());
}

AppServices &TestHome::restart()
{
    m_services.reset();
    m_services = std::make_unique<AppServices>(ui, path());
    return *m_services;
}
