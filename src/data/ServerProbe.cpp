#include "data/ServerProbe.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlQuery>
#include <atomic>

ServerProbe ServerProbe::of(const ServerAddress &address)
{
    static std::atomic<int> count{0};
    Database db(QStringLiteral("lanyan_probe_%1").arg(++count));
    if (db.connectServer(address) != Database::Status::Opened)
        return {false, db.problem()};
    QSqlQuery q = db.query();
    const QString server = q.exec(QStringLiteral("SHOW server_version")) && q.next()
                               ? u"PostgreSQL " + q.value(0).toString()
                               : QStringLiteral("PostgreSQL");
    q.finish();
    const int tables = q.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                             "WHERE table_schema = current_schema()")) &&
                               q.next()
                           ? q.value(0).toInt()
                           : -1;
    q.finish();
    QString error;
    const int version = Database::schemaVersion(db.connection(), &error);
    const QString reached = u"连接成功（" + server + u"）。";
    if (version > Schema::latestVersion())
        return {true, reached + u"但数据库来自更新版本的程序，本程序不能使用它。"};
    if (version > 0)
        return {true, reached + u"数据库中已有本程序的数据。"};
    if (tables == 0)
        return {true, reached +
                          u"数据库是空的：程序首次使用时会建立表格；要带上本机的数据，请用“工具”"
                          u"菜单的“迁移到共享数据库”。"};
    return {true, reached + u"但数据库中已有别的表格，不是本程序的数据库。"};
}
