#include "data/Settings.h"

#include "base/Ui.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
const QString kConfigSection = QStringLiteral("Config");
}

Settings::Settings(Database &db, Ui &ui, QString configIniPath)
    : m_db(db)
    , m_ui(ui)
    , m_userIni(std::move(configIniPath))
{}

bool Settings::isOn(const QString &value)
{
    return value == u"1" || value == u"yes";
}

std::optional<QString> Settings::findConfig(const QString &name) const
{
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("select cvalue from configtable where trim(cname) = :pname"));
    q.bindValue(QStringLiteral(":pname"), name);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return std::nullopt;
}

QString Settings::getConfigByname(const QString &name) const
{
    return findConfig(name).value_or(QString());
}

QString Settings::updateConfig(const QString &name, const QString &value)
{
    return updateConfigRows(name, value).error;
}

Settings::Update Settings::updateConfigRows(const QString &name, const QString &value)
{
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("update configtable set cvalue = :pvalue where cname = :pname"));
    q.bindValue(QStringLiteral(":pvalue"), value);
    q.bindValue(QStringLiteral(":pname"), name);
    if (!q.exec())
        return {0, q.lastError().text()};
    return {q.numRowsAffected(), {}};
}

QString Settings::setConfigByname(const QString &name, const QString &value)
{
    const Update update = updateConfigRows(name, value);
    if (!update.error.isEmpty() || update.rows > 0)
        return update.error;
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("insert into configtable (cvalue, cname) values (:pvalue, :pname)"));
    q.bindValue(QStringLiteral(":pvalue"), value);
    q.bindValue(QStringLiteral(":pname"), name);
    return q.exec() ? QString() : q.lastError().text();
}

QString Settings::setConfigsByname(const QList<std::pair<QString, QString>> &values)
{
    QString error;
    const bool stored = m_db.inTransaction([&] {
        for (const auto &[name, value] : values) {
            error = setConfigByname(name, value);
            if (!error.isEmpty())
                return false;
        }
        return true;
    });
    if (!stored && error.isEmpty())
        error = m_db.connection().lastError().text();
    return error;
}

IniFile &Settings::OpenUserIniFile()
{
    // Reading again would drop what could not be written.
    if (flushUserIni())
        m_userIni.reload();
    return m_userIni;
}

bool Settings::flushUserIni()
{
    if (m_userIni.flush())
        return true;
    m_ui.error(u"工作站设置无法写入，窗口位置等设置将不会保留：\n" + m_userIni.path());
    return false;
}

QString Settings::getINIConfigByname(const QString &key)
{
    return userIni().readString(kConfigSection, key);
}

bool Settings::setINIConfigByname(const QString &key, const QString &value)
{
    return userIni().writeString(kConfigSection, key, value);
}

bool Settings::setCheckConfigByName(int checkTypeId, const QString &name, const QString &value)
{
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("select ID from DMTable where CheckTypeID = :pCheckTypeId and "
                             "upper(DMName) = :pname order by ID"));
    q.bindValue(QStringLiteral(":pCheckTypeId"), checkTypeId);
    q.bindValue(QStringLiteral(":pname"), name.toUpper());
    bool ok = q.exec();
    if (ok && q.next()) {
        const int id = q.value(0).toInt();
        q.prepare(QStringLiteral("update DMTable set DMValue = :value where ID = :id"));
        q.bindValue(QStringLiteral(":value"), value);
        q.bindValue(QStringLiteral(":id"), id);
        ok = q.exec();
    } else if (ok) {
        q.prepare(QStringLiteral(
            "insert into DMTable (CheckTypeID, DMName, DMValue) values (:id, :name, :value)"));
        q.bindValue(QStringLiteral(":id"), checkTypeId);
        q.bindValue(QStringLiteral(":name"), name);
        q.bindValue(QStringLiteral(":value"), value);
        ok = q.exec();
    }
    if (!ok)
        m_ui.alert(name + u"设置模板参数错误:" + q.lastError().text(), QStringLiteral("错误"));
    return ok;
}

QString Settings::getInifCheckConfigByName(const IniFile *layoutCache, const QString &name)
{
    return layoutCache ? layoutCache->readString(QStringLiteral("CheckConfig"), name) : QString();
}
