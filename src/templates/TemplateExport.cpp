#include "templates/TemplateExport.h"

#include "base/DataHome.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "templates/TemplatePackage.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <QUuid>
#include <QVariantMap>
#include <cstdio>

namespace Package = TemplatePackage;

namespace {

bool insertRow(QSqlQuery &q, const QString &table, const QVariantMap &row, QString *error)
{
    QStringList marks;
    for (qsizetype i = 0; i < row.size(); ++i)
        marks << QStringLiteral("?");
    if (execBound(q,
                  u"insert into \"" + table + u"\" (" + row.keys().join(u", ") + u") values (" +
                      marks.join(u", ") + u')',
                  row.values()))
        return true;
    *error = q.lastError().text();
    return false;
}

} // namespace

TemplateExport::TemplateExport(Database &db, const DataHome &home)
    : m_db(db)
    , m_home(home)
{}

TemplateExport::~TemplateExport()
{
    abandon();
}

QStringList TemplateExport::localTemplateNames(Database &db)
{
    QSqlQuery q = db.query();
    QStringList names;
    if (q.exec(QStringLiteral("select TypeName from ckTypeTable where TypeName <> '' "
                              "order by TypeName")))
        while (q.next())
            names << q.value(0).toString();
    return names;
}

bool TemplateExport::begin(const QString &targetPath, const QString &appVersion, QString *error)
{
    abandon();
    QTemporaryFile file(targetPath + u".XXXXXX");
    file.setAutoRemove(false);
    if (!file.open()) {
        *error = u"无法创建文件 " + targetPath + u"：" + file.errorString();
        return false;
    }
    m_target = targetPath;
    m_temporary = file.fileName();
    file.close();
    m_connectionName = u"package-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_package = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_package.setDatabaseName(m_temporary);
    QSqlQuery q(m_package);
    if (!m_package.open() || !Package::createTables(m_package, error) ||
        !insertRow(q, Package::kConfig,
                   {{"DMName", "version"}, {"DMValue", appVersion}, {"CheckTypeId", 0}}, error)) {
        if (error->isEmpty())
            *error = m_package.lastError().text();
        abandon();
        return false;
    }
    return true;
}

TemplateExport::Result TemplateExport::exportOne(const QString &fullName)
{
    Result result;
    QSqlQuery local = m_db.query();
    if (!execBound(local, QStringLiteral("select * from ckTypeTable where TypeName = ?"),
                   {fullName}) ||
        !local.next()) {
        result.error =
            local.lastError().isValid() ? local.lastError().text() : QStringLiteral("找不到模板");
        return result;
    }
    const QSqlRecord t = local.record();
    const int id = t.value(QStringLiteral("CheckTypeID")).toInt();
    QVariantMap row;
    for (const QString &c : Package::templateColumns())
        row.insert(c, t.value(c));
    row["CheckTypeID"] = id;
    row["Visiable"] = QStringLiteral("启用");
    row["IsCommon"] = QStringLiteral("是");
    row["ShowOrd"] = 0;
    row["IsDefault"] = QStringLiteral("默认");
    row["Ini_Text"] = QStringLiteral(" ");
    const QString picturePath = m_home.imageDir() + t.value(QStringLiteral("ImgFile")).toString();
    QFile picture(picturePath);
    if (QFileInfo(picturePath).isFile() && picture.open(QIODevice::ReadOnly))
        row[Package::kPictureColumn] = picture.readAll();
    else
        result.pictureError = picturePath;

    QVector<QVariantMap> items;
    if (!execBound(local,
                   QStringLiteral("select * from CKControl where CheckTypeID = ? order by ID"),
                   {id})) {
        result.error = local.lastError().text();
        return result;
    }
    while (local.next()) {
        QVariantMap item{{"CheckTypeID", id}};
        for (const QString &c : Package::itemColumns())
            item.insert(c, Package::itemValue(c, local.value(c)));
        items << item;
    }
    QVector<QVariantMap> settings;
    if (!execBound(local,
                   QStringLiteral("select DMName, DMValue from DMTable "
                                  "where CheckTypeID = ? order by ID"),
                   {id}))
        result.settingsError = local.lastError().text();
    while (local.next())
        settings << QVariantMap{
            {"DMName", local.value(0)}, {"DMValue", local.value(1)}, {"CheckTypeId", id}};

    if (!m_package.transaction()) {
        result.error = m_package.lastError().text();
        return result;
    }
    QSqlQuery q(m_package);
    bool ok = insertRow(q, Package::kTemplates, row, &result.error);
    for (const QVariantMap &item : items)
        ok = ok && insertRow(q, Package::kItems, item, &result.error);
    ok = ok && execBound(q, QStringLiteral("delete from \"_config\" where CheckTypeId = ?"), {id});
    for (const QVariantMap &setting : settings)
        ok = ok && insertRow(q, Package::kConfig, setting, &result.error);
    if (!ok || !m_package.commit()) {
        if (result.error.isEmpty())
            result.error =
                q.lastError().isValid() ? q.lastError().text() : m_package.lastError().text();
        m_package.rollback();
        return result;
    }
    result.exported = true;
    return result;
}

bool TemplateExport::finish(QString *error)
{
    if (m_temporary.isEmpty()) {
        *error = QStringLiteral("没有正在导出的票据包");
        return false;
    }
    closePackage();
    // rename() replaces an existing package in one step.
    if (std::rename(QFile::encodeName(m_temporary).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        *error = u"无法写入文件 " + m_target;
        abandon();
        return false;
    }
    m_temporary.clear();
    return true;
}

void TemplateExport::abandon()
{
    closePackage();
    if (!m_temporary.isEmpty()) {
        QFile::remove(m_temporary);
        QFile::remove(m_temporary + u"-journal");
        m_temporary.clear();
    }
}

void TemplateExport::closePackage()
{
    if (m_connectionName.isEmpty())
        return;
    m_package.close();
    m_package = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}
