#include "templates/Catalogue.h"

#include "base/DataHome.h"
#include "base/IniFile.h"
#include "base/Ui.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <filesystem>

namespace {

const QString kEnabled = QStringLiteral("启用");
const QString kDefault = QStringLiteral("默认");
const QString kCaption = QStringLiteral("提示");

// The values of the first column of every row.
QStringList firstColumn(QSqlQuery &q)
{
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

std::optional<int> idFromText(const QString &text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(id) : std::nullopt;
}

// Prepares and runs one statement; `binds` pairs placeholders with values.
bool run(QSqlQuery &q, const QString &sql,
         std::initializer_list<std::pair<const char *, QVariant>> binds = {})
{
    if (!q.prepare(sql))
        return false;
    for (const auto &[name, value] : binds)
        q.bindValue(QString::fromLatin1(name), value);
    return q.exec();
}

Template templateFromRecord(const QSqlRecord &r)
{
    Template t;
    t.checkTypeId = r.value(QLatin1String("CheckTypeID")).toInt();
    t.typeName = r.value(QLatin1String("TypeName")).toString();
    t.typeFirstName = r.value(QLatin1String("TypeFirstName")).toString();
    t.typeDescribe = r.value(QLatin1String("TypeDescribe")).toString();
    t.isDefault = r.value(QLatin1String("IsDefault")).toString();
    t.isCommon = r.value(QLatin1String("IsCommon")).toString();
    t.visiable = r.value(QLatin1String("Visiable")).toString();
    t.imgFile = r.value(QLatin1String("ImgFile")).toString();
    t.iniFile = r.value(QLatin1String("IniFile")).toString();
    t.xMove = r.value(QLatin1String("XMove")).toInt();
    t.yMove = r.value(QLatin1String("YMove")).toInt();
    t.hvPrint = r.value(QLatin1String("HVPrint")).toString();
    t.tWidth = r.value(QLatin1String("TWidth")).toInt();
    t.tHeight = r.value(QLatin1String("THeight")).toInt();
    t.pWidth = r.value(QLatin1String("PWidth")).toInt();
    t.pHeight = r.value(QLatin1String("PHeight")).toInt();
    t.checkBoxs = r.value(QLatin1String("CheckBoxs")).toString();
    t.showOrd = r.value(QLatin1String("ShowOrd")).toInt();
    return t;
}

TemplateItem itemFromRecord(const QSqlRecord &r)
{
    TemplateItem i;
    i.checkTypeId = r.value(QLatin1String("CheckTypeID")).toInt();
    i.ctlName = r.value(QLatin1String("CtlName")).toString();
    i.ctlCName = r.value(QLatin1String("CtlCName")).toString();
    i.ctlType = r.value(QLatin1String("CtlType")).toString();
    i.ctlX = r.value(QLatin1String("CtlX")).toInt();
    i.ctlY = r.value(QLatin1String("CtlY")).toInt();
    i.ctlW = r.value(QLatin1String("CtlW")).toInt();
    i.ctlH = r.value(QLatin1String("CtlH")).toInt();
    i.ctlLH = r.value(QLatin1String("CtlLH")).toInt();
    i.srcX = r.value(QLatin1String("SrcX")).toInt();
    i.srcY = r.value(QLatin1String("SrcY")).toInt();
    i.srcW = r.value(QLatin1String("SrcW")).toInt();
    i.srcH = r.value(QLatin1String("SrcH")).toInt();
    i.needPrint = r.value(QLatin1String("NeedPrint")).toInt() == 1;
    i.needShow = r.value(QLatin1String("NeedShow")).toInt() == 1;
    i.ctlFontName = r.value(QLatin1String("CtlFontName")).toString();
    i.ctlFontSize = r.value(QLatin1String("CtlFontSize")).toInt();
    i.ctlFontColor = r.value(QLatin1String("CtlFontColor")).toString();
    i.breakFontSize = r.value(QLatin1String("BreakFontSize")).toInt();
    i.bold = r.value(QLatin1String("Bold")).toInt() > 0;
    i.italic = r.value(QLatin1String("Italic")).toInt() > 0;
    i.underLine = r.value(QLatin1String("UnderLine")).toInt() > 0;
    i.fitParam = r.value(QLatin1String("FitParam")).toString();
    i.breakNum = r.value(QLatin1String("BreakNum")).toString();
    i.showOrd = r.value(QLatin1String("ShowOrd")).toInt();
    i.initValue = r.value(QLatin1String("InitValue")).toString();
    return i;
}

DictItem dictItemFromRecord(const QSqlRecord &r)
{
    DictItem d;
    d.checkTypeName = r.value(QLatin1String("CheckTypeName")).toString();
    d.ctlName = r.value(QLatin1String("CtlName")).toString();
    d.ctlLabel = r.value(QLatin1String("CtlLabel")).toString();
    d.ctlType = r.value(QLatin1String("CtlType")).toString();
    d.printItem = r.value(QLatin1String("PrintItem")).toInt() == 1;
    d.showOrd = r.value(QLatin1String("ShowOrd")).toInt();
    d.ctlData = r.value(QLatin1String("CtlData")).toString();
    d.groups = r.value(QLatin1String("Groups")).toString();
    return d;
}

} // namespace

Catalogue::Catalogue(Database &db, Ui &ui, const DataHome &home)
    : m_db(db)
    , m_ui(ui)
    , m_home(home)
{}

QString Catalogue::getTypeCodeByTypeName(const QString &kind)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("电汇单"), QStringLiteral("dhd")},
        {QStringLiteral("支票"), QStringLiteral("zp")},
        {QStringLiteral("进账单"), QStringLiteral("jzd")},
        {QStringLiteral("汇票申请书"), QStringLiteral("hp")},
        {QStringLiteral("承兑汇票"), QStringLiteral("cdhp")},
        {QStringLiteral("缴款单"), QStringLiteral("jkd")},
        {QStringLiteral("境外汇款申请书"), QStringLiteral("jwh")},
        {QStringLiteral("贷记凭证"), QStringLiteral("djpz")},
        {QStringLiteral("快递单"), QStringLiteral("kdd")},
        {QStringLiteral("海关缴款单"), QStringLiteral("hgjkd")},
        {QStringLiteral("海关载货单"), QStringLiteral("hgzhd")},
        {QStringLiteral("普通发票收据"), QStringLiteral("fpiv")},
        {QStringLiteral("发票及收据"), QStringLiteral("fpiv")},
        {QStringLiteral("货运发票"), QStringLiteral("hyfp")},
        {QStringLiteral("出口商品发票"), QStringLiteral("cksp")},
        {QStringLiteral("定制单"), QStringLiteral("def")},
    };
    return codes.value(kind);
}

QString Catalogue::kindFromTypeName(const QString &typeName)
{
    for (QChar bracket : {QChar(u'（'), QChar(u'(')}) {
        const qsizetype at = typeName.indexOf(bracket);
        if (at >= 0)
            return typeName.left(at);
    }
    return typeName;
}

QString Catalogue::fullTypeName(const QString &kind, const QString &describe)
{
    return kind + u"（" + describe + u"）";
}

QStringList Catalogue::loadCheckTypeFirstNameList() const
{
    QSqlQuery q = m_db.query();
    if (!run(q, QStringLiteral("select distinct CheckTypeName from NameDict "
                               "order by CheckTypeName")))
        return {};
    return firstColumn(q);
}

QString Catalogue::loadDefaultTypeFirstName() const
{
    QSqlQuery q = m_db.query();
    if (run(q, QStringLiteral("select CheckTypeName from NameDict order by ID limit 1")) &&
        q.next())
        return q.value(0).toString();
    return {};
}

QStringList Catalogue::loadCheckTypeLastNameList(const QString &kind) const
{
    if (kind.isEmpty()) {
        m_ui.alert(QStringLiteral("没有指定单据类型，无法调入确定的模板种类！"), kCaption);
        return {};
    }
    QSqlQuery q = m_db.query();
    if (!run(q,
             QStringLiteral("select TypeDescribe from ckTypeTable where Visiable = :state "
                            "and TypeFirstName = :kind order by TypeDescribe"),
             {{":state", kEnabled}, {":kind", kind}}))
        return {};
    return firstColumn(q);
}

QStringList Catalogue::loadCommonTypeLastNameList(const QString &kind) const
{
    QStringList list;
    if (kind.isEmpty())
        return list;
    QSqlQuery q = m_db.query();
    // Template order, so the quick list does not reshuffle from one start to the next.
    if (!run(q,
             QStringLiteral("select TypeDescribe, IsDefault from ckTypeTable "
                            "where Visiable = :state and IsCommon = '是' and TypeFirstName = :kind "
                            "group by TypeDescribe, IsDefault order by min(CheckTypeID)"),
             {{":state", kEnabled}, {":kind", kind}}))
        return list;
    while (q.next()) {
        if (q.value(1).toString() == kDefault)
            list.prepend(q.value(0).toString());
        else
            list.append(q.value(0).toString());
    }
    return list;
}

QStringList Catalogue::loadCheckTypeFullNameList(const QString &kind) const
{
    QSqlQuery q = m_db.query();
    const bool ok =
        kind.isEmpty()
            ? run(q,
                  QStringLiteral("select TypeName from ckTypeTable where Visiable = :state "
                                 "order by TypeName"),
                  {{":state", kEnabled}})
            : run(q,
                  QStringLiteral("select TypeName from ckTypeTable where Visiable = :state "
                                 "and TypeFirstName = :kind order by TypeName"),
                  {{":state", kEnabled}, {":kind", kind}});
    return ok ? firstColumn(q) : QStringList();
}

int Catalogue::loadDefaultCheckTypeId(const QString &kind) const
{
    QSqlQuery q = m_db.query();
    if (run(q,
            QStringLiteral("select CheckTypeID from ckTypeTable where IsDefault = :default "
                           "and TypeFirstName = :kind order by CheckTypeID"),
            {{":default", kDefault}, {":kind", kind}}) &&
        q.next())
        return q.value(0).toInt();

    m_ui.alert(u"没有设定默认的" + kind + u",请到【系统管理】-【模板管理】，设定!", kCaption);
    if (run(q,
            QStringLiteral("select CheckTypeID from ckTypeTable where Visiable = :state "
                           "and TypeFirstName = :kind order by CheckTypeID"),
            {{":state", kEnabled}, {":kind", kind}}) &&
        q.next())
        return q.value(0).toInt();

    m_ui.alert(u"没有找到任何启用的【" + kind + u"】模板！", kCaption);
    return -1;
}

int Catalogue::loadCheckTypeIDByFirstAndLastName(const QString &kind, const QString &describe) const
{
    QSqlQuery q = m_db.query();
    if (run(q,
            QStringLiteral("select CheckTypeID from ckTypeTable where TypeFirstName = :kind "
                           "and TypeDescribe = :describe order by CheckTypeID"),
            {{":kind", kind}, {":describe", describe}}) &&
        q.next())
        return q.value(0).toInt();
    // Templates whose kind column was never filled are found by their full name.
    if (run(q,
            QStringLiteral("select CheckTypeID from ckTypeTable where TypeName = :name "
                           "order by CheckTypeID"),
            {{":name", fullTypeName(kind, describe)}}) &&
        q.next())
        return q.value(0).toInt();
    return 0;
}

QString Catalogue::loadCheckTypeIDByTypeFullName(const QString &fullName) const
{
    QSqlQuery q = m_db.query();
    if (run(q,
            QStringLiteral("select CheckTypeID from ckTypeTable where TypeName = :name "
                           "order by CheckTypeID"),
            {{":name", fullName}}) &&
        q.next())
        return q.value(0).toString();
    return QStringLiteral("0");
}

QString Catalogue::loadCheckTypeFullNameByID(const QString &id) const
{
    const std::optional<Template> t = templateByText(id);
    return t ? t->typeName : QString();
}

QString Catalogue::loadCheckTypeFirstNameByID(const QString &id) const
{
    const std::optional<Template> t = templateByText(id);
    if (!t)
        return {};
    return t->typeFirstName.isEmpty() ? kindFromTypeName(t->typeName) : t->typeFirstName;
}

QString Catalogue::loadCheckTypeLastNameByID(const QString &id) const
{
    const std::optional<Template> t = templateByText(id);
    return t ? t->typeDescribe : QString();
}

bool Catalogue::CheckTypeExists(const QString &kind, const QString &describe, QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!run(q,
             QStringLiteral("select 1 from ckTypeTable where TypeFirstName = :kind "
                            "and TypeDescribe = :describe"),
             {{":kind", kind}, {":describe", describe}})) {
        if (error)
            *error = u"CheckTypeExists:" + q.lastError().text();
        return false;
    }
    return q.next();
}

QString Catalogue::loadMaxNewCheckTypeId(QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!run(q, QStringLiteral("select max(CheckTypeID) + 1 as MaxId from ckTypeTable")) ||
        !q.next()) {
        if (error)
            *error = u"NewMaxCheckTypeId:" + q.lastError().text();
        return {};
    }
    return q.isNull(0) ? QStringLiteral("1") : q.value(0).toString();
}

QStringList Catalogue::loadDMListByName(const QString &name, const QString &idList) const
{
    // The identifiers are bound one by one, never spliced into the statement.
    QList<int> ids;
    for (const QString &piece : idList.split(u',', Qt::SkipEmptyParts))
        if (const std::optional<int> id = idFromText(piece))
            ids << *id;
    if (ids.isEmpty())
        return {};
    QStringList marks;
    for (qsizetype i = 0; i < ids.size(); ++i)
        marks << u":id" + QString::number(i);
    QSqlQuery q = m_db.query();
    // Within one template the entries keep the order in which they were added.
    if (!q.prepare(u"select DMValue from DMTable where DMName = :name and CheckTypeID in (" +
                   marks.join(u", ") +
                   u") group by DMValue, CheckTypeID order by CheckTypeID desc, min(ID)"))
        return {};
    q.bindValue(QStringLiteral(":name"), name);
    for (qsizetype i = 0; i < ids.size(); ++i)
        q.bindValue(marks[i], ids[i]);
    return q.exec() ? firstColumn(q) : QStringList();
}

QStringList Catalogue::loadHistoryTypeNameList(const QString &table) const
{
    // Only a table of our schema is queried; the name itself is never trusted.
    const SchemaTable *known = Schema::table(table);
    if (!known)
        return {};
    QSqlQuery q = m_db.query();
    const QString name = Database::quoted(known->name);
    if (!q.exec(u"select distinct 模板种类 from " + name + u" order by 模板种类"))
        return {};
    return firstColumn(q);
}

std::optional<Template> Catalogue::templateByText(const QString &id) const
{
    const std::optional<int> checkTypeId = idFromText(id);
    return checkTypeId ? loadTemplate(*checkTypeId) : std::nullopt;
}

std::optional<Template> Catalogue::loadTemplate(int checkTypeId) const
{
    QSqlQuery q = m_db.query();
    if (run(q, QStringLiteral("select * from ckTypeTable where CheckTypeID = :id"),
            {{":id", checkTypeId}}) &&
        q.next())
        return templateFromRecord(q.record());
    return std::nullopt;
}

std::optional<TemplateItem> Catalogue::loadTemplateItem(int checkTypeId,
                                                        const QString &ctlName) const
{
    QSqlQuery q = m_db.query();
    if (run(q,
            QStringLiteral("select * from CKControl where CheckTypeID = :id "
                           "and upper(CtlName) = upper(:name) order by ID"),
            {{":id", checkTypeId}, {":name", ctlName}}) &&
        q.next())
        return itemFromRecord(q.record());
    return std::nullopt;
}

std::vector<TemplateItem> Catalogue::loadTemplateItems(int checkTypeId) const
{
    std::vector<TemplateItem> items;
    QSqlQuery q = m_db.query();
    if (run(q,
            QStringLiteral("select * from CKControl where CheckTypeID = :id "
                           "order by ShowOrd, ID"),
            {{":id", checkTypeId}}))
        while (q.next())
            items.push_back(itemFromRecord(q.record()));
    return items;
}

std::vector<DictItem> Catalogue::loadDictItems(const QString &kind, bool printableOnly) const
{
    std::vector<DictItem> items;
    QSqlQuery q = m_db.query();
    const QString filter = printableOnly ? QStringLiteral(" and PrintItem = 1") : QString();
    if (run(q,
            u"select * from NameDict where CheckTypeName = :kind" + filter +
                u" order by ShowOrd, ID",
            {{":kind", kind}}))
        while (q.next())
            items.push_back(dictItemFromRecord(q.record()));
    return items;
}

std::optional<QStringList> Catalogue::loadLayoutItemNames(const QString &kind) const
{
    QSqlQuery q = m_db.query();
    if (!run(q,
             QStringLiteral("select CtlName from NameDict where CheckTypeName = :kind "
                            "order by ShowOrd, ID"),
             {{":kind", kind}})) {
        m_ui.alert(u"调入项目参数失败!" + q.lastError().text(), kCaption);
        return std::nullopt;
    }
    return firstColumn(q);
}

QString Catalogue::layoutCachePath(int checkTypeId) const
{
    return m_home.tempDir() + u"CheckIni/" + QString::number(checkTypeId) + u".ini";
}

std::unique_ptr<IniFile> Catalogue::OpenCheckInif(int checkTypeId)
{
    QSqlQuery q = m_db.query();
    if (!run(q,
             QStringLiteral("select IniFile from ckTypeTable where CheckTypeID = :id "
                            "and IniFile <> '' and IniFile is not null"),
             {{":id", checkTypeId}}))
        return nullptr;
    const QString path = layoutCachePath(checkTypeId);
    // A cache file removed behind our back would hide every field; the database is the
    // master copy, so build it again instead.
    if (!q.next() || !QFileInfo::exists(path))
        buildCheckIniFile(checkTypeId);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return nullptr;
    return std::make_unique<IniFile>(path);
}

bool Catalogue::buildCheckIniFile(int checkTypeId)
{
    const QString path = layoutCachePath(checkTypeId);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Built beside the cache and put in its place only when complete: a failed build leaves
    // the forms the layout they had.
    const QString next = path + u".new";
    QFile::remove(next);
    if (QFile::exists(path) && !QFile::copy(path, next))
        return false;
    std::error_code failed;
    if (writeLayoutCache(checkTypeId, next))
        std::filesystem::rename(next.toStdString(), path.toStdString(), failed);
    else
        failed = std::make_error_code(std::errc::io_error);
    if (failed) {
        QFile::remove(next);
        return false;
    }
    QSqlQuery q = m_db.query();
    return run(q, QStringLiteral("update ckTypeTable set IniFile = :file where CheckTypeID = :id"),
               {{":file", QString(QString::number(checkTypeId) + u".ini")}, {":id", checkTypeId}});
}

bool Catalogue::writeLayoutCache(int checkTypeId, const QString &path) const
{

    // Everything is read before the cache is touched: a failed query keeps the previous cache
    // whole instead of leaving half of one on disk.
    struct Value
    {
        QString section, key, value;
    };
    std::vector<Value> values;
    const QString kind = loadCheckTypeFirstNameByID(QString::number(checkTypeId));
    QSqlQuery q = m_db.query();
    if (!run(q,
             QStringLiteral("select CtlName from NameDict where CheckTypeName = :kind "
                            "order by ShowOrd, ID"),
             {{":kind", kind}}))
        return false;
    QString configItems;
    while (q.next())
        configItems += q.value(0).toString() + u',';
    values.push_back({QStringLiteral("view"), QStringLiteral("ConfigItems"), configItems});

    if (!run(q,
             QStringLiteral("select upper(CtlName) as CtlName, SrcX, SrcY, SrcH, SrcW, NeedShow, "
                            "InitValue from CKControl where CheckTypeID = :id order by ID"),
             {{":id", checkTypeId}}))
        return false;
    static const std::pair<const char *, const char *> keys[] = {
        {"viewx", ".x"}, {"viewy", ".y"}, {"viewh", ".h"},
        {"vieww", ".w"}, {"viewv", ".v"}, {"viewdv", ".dv"},
    };
    while (q.next()) {
        const QString name = q.value(0).toString();
        for (int column = 1; column <= 6; ++column) {
            const auto &[section, suffix] = keys[column - 1];
            values.push_back({QString::fromLatin1(section), name + QLatin1String(suffix),
                              q.value(column).toString()});
        }
    }

    if (!run(q,
             QStringLiteral("select DMName, DMValue from DMTable where CheckTypeID = :id "
                            "and DMName like 'cfg%' order by ID"),
             {{":id", checkTypeId}}))
        return false;
    while (q.next())
        values.push_back(
            {QStringLiteral("CheckConfig"), q.value(0).toString(), q.value(1).toString()});

    IniFile cache(path);
    {
        IniFile::Batch batch(cache);
        for (const char *section :
             {"view", "viewx", "viewy", "viewh", "vieww", "viewv", "viewdv", "CheckConfig"})
            cache.eraseSection(QString::fromLatin1(section));
        for (const Value &v : values)
            cache.writeString(v.section, v.key, v.value);
    }
    return cache.flush();
}
