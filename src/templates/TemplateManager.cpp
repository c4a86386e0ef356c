#include "templates/TemplateManager.h"

#include "base/DataHome.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "templates/Catalogue.h"
#include "templates/PictureFileChange.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString kEnabled = QStringLiteral("启用");
const QString kDefault = QStringLiteral("默认");

const QStringList kCloneTemplateColumns{
    "XMove",   "YMove",    "THeight", "TWidth",  "HVPrint",      "Visiable",    "CheckBoxs",
    "ShowOrd", "IsCommon", "PWidth",  "PHeight", "InputBgColor", "InputFtColor"};
const QStringList kCloneItemColumns{
    "CtlName", "CtlCName",    "CtlX",        "CtlY",          "CtlH",
    "CtlW",    "CtlLH",       "SrcX",        "SrcY",          "SrcH",
    "SrcW",    "CtlFontName", "CtlFontSize", "BreakFontSize", "CtlFontColor",
    "Bold",    "Italic",      "UnderLine",   "FitParam",      "BreakNum",
    "ShowOrd", "NeedShow",    "NeedPrint",   "CtlType",       "InitValue"};

// Runs statements with their values; stops at the first failure with its error text.
bool runAll(QSqlQuery &q, const std::vector<std::pair<QString, QVariantList>> &statements,
            QString *error)
{
    for (const auto &[sql, values] : statements)
        if (!execBound(q, sql, values)) {
            *error = q.lastError().text();
            return false;
        }
    return true;
}

bool insertRow(QSqlQuery &q, const QString &table, const QStringList &columns,
               const QVariantList &values, QString *error)
{
    const QString marks = QStringList(columns.size(), QStringLiteral("?")).join(u", ");
    if (execBound(
            q, u"insert into " + table + u" (" + columns.join(u", ") + u") values (" + marks + u')',
            values))
        return true;
    *error = q.lastError().text();
    return false;
}

// A picture name from the database is used only as a plain file name inside Image/.
bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && QFileInfo(name).fileName() == name && name != u"." && name != u"..";
}

} // namespace

TemplateManager::TemplateManager(Database &db, Catalogue &catalogue, const DataHome &home)
    : m_db(db)
    , m_catalogue(catalogue)
    , m_home(home)
{}

QString TemplateManager::cleanName(const QString &text)
{
    static const QRegularExpression unwanted(QStringLiteral("[()（）'%*?\\s]"));
    return text.trimmed().remove(unwanted);
}

QString TemplateManager::listSql(Tab tab, const QString &kind, const QString &key)
{
    static const char *const conditions[] = {
        "Visiable = '启用'",
        "Visiable = '启用' and IsCommon = '是'",
        "Visiable = '启用' and IsDefault = '默认'",
        "coalesce(Visiable, '') <> '启用'",
    };
    QString sql = u"select CheckTypeID as 编号, TypeName as 模板种类, IsDefault as 默认, "
                  u"IsCommon as 常用, Visiable as 是否启用, TypeFirstName, ImgFile as 底图 "
                  u"from ckTypeTable where " +
                  QString::fromUtf8(conditions[int(tab)]);
    if (!kind.isEmpty())
        sql += u" and " + Database::likeAnyCase(QStringLiteral("TypeName"));
    if (!key.isEmpty())
        sql += u" and " + Database::likeAnyCase(QStringLiteral("TypeName"));
    return sql + u" order by TypeName";
}

QVariantList TemplateManager::listValues(const QString &kind, const QString &key)
{
    QVariantList values;
    if (!kind.isEmpty())
        values << QString(likeLiteral(kind) + u'%');
    if (!key.isEmpty())
        values << QString(u'%' + likeLiteral(key.toUpper()) + u'%');
    return values;
}

bool TemplateManager::setDefault(int id, QString *kind, QString *error)
{
    *kind = m_catalogue.loadCheckTypeFirstNameByID(QString::number(id));
    return m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        return runAll(q,
                      {{QStringLiteral("update ckTypeTable set IsDefault = '0' "
                                       "where TypeFirstName = ?"),
                        {*kind}},
                       {QStringLiteral("update ckTypeTable set IsDefault = ?, Visiable = ?, "
                                       "IsCommon = '是' where CheckTypeID = ?"),
                        {kDefault, kEnabled, id}}},
                      error);
    });
}

TemplateManager::CommonResult TemplateManager::setCommon(const QList<int> &ids, bool common)
{
    CommonResult result;
    const bool stored = m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        for (int id : ids) {
            if (!execBound(q,
                           QStringLiteral("select IsDefault from ckTypeTable "
                                          "where CheckTypeID = ?"),
                           {id})) {
                result.error = q.lastError().text();
                return false;
            }
            if (!q.next())
                continue;
            if (!common && q.value(0).toString() == kDefault) {
                ++result.refusedDefaults;
                continue;
            }
            if (!execBound(q,
                           QStringLiteral("update ckTypeTable set Visiable = ?, IsCommon = ? "
                                          "where CheckTypeID = ?"),
                           {kEnabled, common ? u"是"_qs : u"否"_qs, id})) {
                result.error = q.lastError().text();
                return false;
            }
            ++result.changed;
        }
        return true;
    });
    if (!stored) {
        result.changed = 0;
        if (result.error.isEmpty())
            result.error = m_db.connection().lastError().text();
    }
    return result;
}

bool TemplateManager::setVisible(const QList<int> &ids, bool visible, QString *error)
{
    return m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        for (int id : ids)
            if (!runAll(q,
                        {{QStringLiteral("update ckTypeTable set Visiable = ? "
                                         "where CheckTypeID = ?"),
                          {visible ? kEnabled : u"停用隐藏"_qs, id}}},
                        error))
                return false;
        return true;
    });
}

QString TemplateManager::typeNameOf(int id) const
{
    QSqlQuery q = m_db.query();
    if (execBound(q, QStringLiteral("select TypeName from ckTypeTable where CheckTypeID = ?"),
                  {id}) &&
        q.next())
        return q.value(0).toString();
    return {};
}

TemplateManager::Deleted TemplateManager::deleteTemplate(int id, QString *error)
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select TypeName, ImgFile from ckTypeTable "
                                  "where CheckTypeID = ?"),
                   {id}) ||
        !q.next()) {
        *error = q.lastError().isValid() ? q.lastError().text() : QStringLiteral("找不到模板");
        return Deleted::Failed;
    }
    const QString typeName = q.value(0).toString();
    const QString picture = q.value(1).toString();
    if (Catalogue::kindFromTypeName(typeName).trimmed().isEmpty())
        return Deleted::NoKind;
    const bool deleted = m_db.inTransaction([&] {
        QSqlQuery d = m_db.query();
        return runAll(d,
                      {{QStringLiteral("delete from CKControl where CheckTypeID = ?"), {id}},
                       {QStringLiteral("delete from ckTypeTable where CheckTypeID = ?"), {id}},
                       {QStringLiteral("delete from DMTable where CheckTypeID = ?"), {id}}},
                      error);
    });
    if (!deleted)
        return Deleted::Failed;
    // Another template may show the same picture (older databases share them).
    if (isPlainFileName(picture) &&
        execBound(q, QStringLiteral("select 1 from ckTypeTable where ImgFile = ?"), {picture}) &&
        !q.next())
        QFile::remove(m_home.imageDir() + picture);
    QFile::remove(m_catalogue.layoutCachePath(id));
    return Deleted::Yes;
}

bool TemplateManager::cloneTemplate(int id, const QString &describe, int *newId, QString *error)
{
    QSqlQuery source = m_db.query();
    if (!execBound(source, QStringLiteral("select * from ckTypeTable where CheckTypeID = ?"),
                   {id}) ||
        !source.next()) {
        *error = source.lastError().isValid() ? source.lastError().text()
                                              : u"找不到源模板，ID=" + QString::number(id);
        return false;
    }
    const QSqlRecord row = source.record();
    const QString kind = m_catalogue.loadCheckTypeFirstNameByID(QString::number(id));
    const QString code = Catalogue::getTypeCodeByTypeName(kind);
    if (code.isEmpty()) {
        *error = u"没有找到模板的主类型编码:" + kind;
        return false;
    }
    const QString oldPicture = row.value(QStringLiteral("ImgFile")).toString();
    PictureFileChange picture;
    const bool stored = m_db.inNumberingTransaction(QStringLiteral("ckTypeTable"), [&] {
        QSqlQuery q = m_db.query();
        if (!execBound(q, QStringLiteral("select max(CheckTypeID) + 1 from ckTypeTable")) ||
            !q.next()) {
            *error = q.lastError().text();
            return false;
        }
        *newId = q.value(0).toInt();
        const QString newPicture = code + QString::number(*newId) + u".jpg";
        QStringList columns{"CheckTypeID", "ImgFile",      "TypeFirstName",
                            "TypeName",    "TypeDescribe", "IsDefault"};
        QVariantList values{*newId,   newPicture,
                            kind,     Catalogue::fullTypeName(kind, describe),
                            describe, QStringLiteral("0")};
        for (const QString &c : kCloneTemplateColumns) {
            columns << c;
            values << row.value(c);
        }
        if (!insertRow(q, QStringLiteral("ckTypeTable"), columns, values, error))
            return false;
        if (!execBound(source,
                       QStringLiteral("select * from CKControl where CheckTypeID = ? "
                                      "order by ID"),
                       {id})) {
            *error = source.lastError().text();
            return false;
        }
        int items = 0;
        while (source.next()) {
            QVariantList itemValues{*newId};
            for (const QString &c : kCloneItemColumns)
                itemValues << source.value(c);
            if (!insertRow(q, QStringLiteral("CKControl"),
                           QStringList{"CheckTypeID"} + kCloneItemColumns, itemValues, error))
                return false;
            ++items;
        }
        if (items == 0) {
            *error = u"找不到源模板细节数据，ID=" + QString::number(id);
            return false;
        }
        // A template without its own picture shows the fallback; so does its clone.
        const QString from = m_home.imageDir() + oldPicture;
        return !isPlainFileName(oldPicture) || !QFileInfo::exists(from) ||
               picture.copy(from, m_home.imageDir() + newPicture, error);
    });
    if (!stored) {
        picture.undo();
        if (error->isEmpty())
            *error = m_db.connection().lastError().text();
        return false;
    }
    picture.keep();
    QFile::remove(m_catalogue.layoutCachePath(*newId));
    return true;
}

bool TemplateManager::renameTemplate(int id, const QString &describe, QString *error)
{
    const QString kind = m_catalogue.loadCheckTypeFirstNameByID(QString::number(id));
    return m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        return runAll(q,
                      {{QStringLiteral("update ckTypeTable set TypeDescribe = ?, "
                                       "TypeFirstName = ?, TypeName = ? where CheckTypeID = ?"),
                        {describe, kind, Catalogue::fullTypeName(kind, describe), id}}},
                      error);
    });
}
