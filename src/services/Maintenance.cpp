#include "services/Maintenance.h"

#include "base/DataHome.h"
#include "base/FileHelpers.h"
#include "base/Resources.h"
#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QStandardPaths>

namespace Maintenance {

bool clearTemplateCaches(Database &db, QString *error)
{
    return db.inTransaction([&] {
        QSqlQuery q = db.query();
        for (const char *sql : {
                 "update ckTypeTable set IniFile = ''",
                 // Templates of kinds that no longer exist.
                 "delete from ckTypeTable where TypeFirstName <> '' and TypeFirstName is not "
                 "null and TypeFirstName not in (select CheckTypeName from NameDict)",
                 "delete from CKControl where CheckTypeID not in (select CheckTypeID from "
                 "ckTypeTable)",
                 // Items no kind's dictionary knows; names match without regard to case.
                 "delete from CKControl where upper(CtlName) not in (select upper(CtlName) from "
                 "NameDict where CtlName is not null)",
                 "delete from DMTable where CheckTypeID not in (select CheckTypeID from "
                 "ckTypeTable) and CheckTypeID <> 0",
             }) {
            if (!q.exec(QString::fromUtf8(sql))) {
                *error = q.lastError().text();
                return false;
            }
        }
        return true;
    });
}

QStringList clearUnusedPictures(Database &db, const DataHome &home)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("select ImgFile from ckTypeTable")))
        return {};
    QStringList used;
    while (q.next())
        used << q.value(0).toString().toUpper();
    registerResources();
    const QStringList shipped = QDir(QStringLiteral(":/images")).entryList(QDir::Files);
    QStringList removed;
    for (const QString &file : FileHelpers::listFiles(home.imageDir(), QStringLiteral("*.jpg"))) {
        const QString upper = file.toUpper();
        if (upper.contains(u"SYS_") || shipped.contains(file, Qt::CaseInsensitive))
            continue;
        const bool inUse = std::any_of(used.cbegin(), used.cend(),
                                       [&](const QString &u) { return u.contains(upper); });
        if (!inUse && QFile::remove(home.imageDir() + file))
            removed << file;
    }
    return removed;
}

RepairResult repairDatabase(Database &db, const DataHome &home)
{
    RepairResult r;
    // The shared database's server keeps its own backups and checks; there is no file here.
    if (db.backend() == Database::Backend::Postgres) {
        r.error = QStringLiteral("共享数据库由其服务器维护，本工作站无法修复或压缩它。");
        return r;
    }
    r.backupPath = home.dataDir() + u"EPData-" +
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                   u".bak";
    QFile::remove(r.backupPath);
    QSqlQuery q = db.query();
    // A consistent copy of the live database, whatever its journal holds.
    if (!execBound(q, QStringLiteral("vacuum into ?"), {r.backupPath})) {
        r.error = q.lastError().text();
        return r;
    }
    if (!q.exec(QStringLiteral("pragma integrity_check"))) {
        r.error = q.lastError().text();
        return r;
    }
    QStringList findings;
    while (q.next())
        findings << q.value(0).toString();
    r.integrity = findings.join(u'\n');
    if (r.integrity != u"ok")
        return r;
    if (!q.exec(QStringLiteral("vacuum"))) {
        r.error = q.lastError().text();
        return r;
    }
    r.ok = true;
    return r;
}

QString findCalculator(const QStringList &searchPaths)
{
    for (const char *name :
         {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name), searchPaths);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QList<QStringList> lockScreenCommands()
{
    return {{QStringLiteral("loginctl"), QStringLiteral("lock-session")},
            {QStringLiteral("xdg-screensaver"), QStringLiteral("lock")}};
}

} // namespace Maintenance
