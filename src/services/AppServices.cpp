#include "services/AppServices.h"

#include "base/Ui.h"
#include "data/DatabaseChoice.h"
#include "print/QtPrintDevice.h"

AppServices::AppServices(Ui &ui, const QString &runPath)
    : m_ui(ui)
    , m_home(runPath)
    , m_settings(m_database, ui, m_home.configIniPath())
    , m_debug(m_home.debugIniPath())
    , m_web(m_settings, ui, appVersion())
    , m_catalogue(m_database, ui, m_home)
    , m_parties(m_database, ui)
    , m_dictionaries(m_database)
    , m_grids(m_database, m_settings, m_spreadsheets, ui)
    , m_printEngine(m_database, ui, m_settings, std::make_unique<QtPrintDevice>())
{
    if (!m_home.populate()) {
        m_startupProblem = u"无法创建数据目录，程序将不能保存任何数据：\n" + m_home.runPath();
        return;
    }
    openDatabase();
}

void AppServices::openDatabase()
{
    const DatabaseChoice choice = DatabaseChoice::read(m_settings.userIni(), m_home);
    const bool shared = choice.kind == DatabaseChoice::Kind::Shared;
    m_database.setWorkstation(DatabaseChoice::workstation(m_settings.userIni()));
    const Database::Status status =
        shared ? m_database.openServer(choice.server) : m_database.open(m_home.databasePath());
    if (status == Database::Status::Created && !shared && !m_home.wasFresh())
        m_startupProblem = u"没有找到数据库文件，已新建一个空数据库：\n" + m_home.databasePath();
    else
        m_startupProblem = m_database.problem();
    // Settings that are there but unreadable are kept as they are rather than replaced. Said
    // also beside a database problem: without them a shared database's workstation opens the
    // local file instead.
    const IniFile &config = m_settings.userIni();
    if (!config.isReadable()) {
        if (!m_startupProblem.isEmpty())
            m_startupProblem += u"\n\n";
        m_startupProblem += u"工作站设置文件无法读取，本次运行的设置不会保存：\n" + config.path() +
                            u"\n" + config.readError();
    }
}

QString AppServices::useLocalDatabase()
{
    DatabaseChoice local = DatabaseChoice::read(m_settings.userIni(), m_home);
    local.kind = DatabaseChoice::Kind::Local;
    const QString error = local.write(m_settings.userIni(), m_home);
    if (error.isEmpty())
        openDatabase();
    return error;
}
