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

QString freshSchemaName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

// A connection of its own to the test server's default schema, for setting up and tidying.
template<class Work>
bool onTestServer(Work &&work)
{
    const QString name = QStringLiteral("lanyan_test_admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const ServerAddress server = TestHome::testServer();
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setPassword(server.password);
        QSqlQuery q(db);
        ok = db.open() && q.exec(QStringLiteral("SET client_min_messages = warning")) && work(q);
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

ServerSchema::ServerSchema()
    : m_address(TestHome::testServer())
{
    m_address.schema = freshSchemaName();
    onTestServer(
        [&](QSqlQuery &q) { return q.exec(u"CREATE SCHEMA IF NOT EXISTS " + m_address.schema); });
}

ServerSchema::~ServerSchema()
{
    onTestServer([&](QSqlQuery &q) {
        return q.exec(u"DROP SCHEMA IF EXISTS " + m_address.schema + u" CASCADE");
    });
}

bool ServerSchema::exec(const QString &sql) const
{
    return onTestServer([&](QSqlQuery &q) {
        return q.exec(u"SET search_path = " + m_address.schema) && q.exec(sql);
    });
}

int ServerSchema::tableCount() const
{
    int count = -1;
    onTestServer([&](QSqlQuery &q) {
        if (!q.exec(u"SELECT count(*) FROM information_schema.tables WHERE table_schema = '" +
                    m_address.schema + u"'") ||
            !q.next())
            return false;
        count = q.value(0).toInt();
        return true;
    });
    return count;
}

TestHome::TestHome(Engine engine)
{
    // The vendor's site is the loopback address in tests: a frame whose clock reaches the
    // service check never asks anything beyond this machine.
    QFile config(path() + u"Config.ini");
    if (config.open(QIODevice::WriteOnly))
        config.write("[Online]\r\nHost=127.0.0.1\r\n");
    config.close();
    if (engine == Engine::AsTheRunSays && onServer()) {
        m_schema = std::make_unique<ServerSchema>();
        DatabaseChoice choice{DatabaseChoice::Kind::Shared, m_schema->address()};
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
}

ServerAddress TestHome::testServer()
{
    // LANYAN_TEST_PG=postgresql://... runs every home on that server, each in a schema of its
    // own.
    static const ServerAddress server =
        ServerAddress::fromUrl(qEnvironmentVariable("LANYAN_TEST_PG"));
    return server;
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
