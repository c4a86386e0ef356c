#include "RefusingTrigger.h"

#include <QSqlQuery>

bool RefusingTrigger::install(Database &db) const
{
    QSqlQuery q = db.query();
    if (db.backend() == Database::Backend::Sqlite) {
        const char *raise = drops == Drops::Statement ? "ABORT" : "ROLLBACK";
        const QString when = condition.isEmpty() ? QString() : u" WHEN " + condition;
        return q.exec(u"CREATE TRIGGER " + name + u" BEFORE " + event + u" ON " + table + when +
                      u" BEGIN SELECT RAISE(" + QLatin1String(raise) + u", '" + message +
                      u"'); END");
    }
    const QString when = condition.isEmpty() ? QString() : u" WHEN (" + condition + u')';
    // A deferred trigger fails the commit: nothing of the transaction is kept.
    const QString kind = drops == Drops::Statement ? QString(u"TRIGGER " + name + u" BEFORE ")
                                                   : u"CONSTRAINT TRIGGER " + name + u" AFTER ";
    const QString deferred =
        drops == Drops::Statement ? QString() : QStringLiteral(" DEFERRABLE INITIALLY DEFERRED");
    return q.exec(u"CREATE FUNCTION " + name +
                  u"() RETURNS trigger LANGUAGE plpgsql AS "
                  u"$$ BEGIN RAISE EXCEPTION '" +
                  message + u"'; END $$") &&
           q.exec(u"CREATE " + kind + event + u" ON " + table + deferred + u" FOR EACH ROW" + when +
                  u" EXECUTE FUNCTION " + name + u"()");
}

bool RefusingTrigger::remove(Database &db) const
{
    QSqlQuery q = db.query();
    if (db.backend() == Database::Backend::Sqlite)
        return q.exec(u"DROP TRIGGER " + name);
    return q.exec(u"DROP TRIGGER " + name + u" ON " + table) &&
           q.exec(u"DROP FUNCTION " + name + u"()");
}
