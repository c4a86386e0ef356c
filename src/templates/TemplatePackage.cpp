#include "templates/TemplatePackage.h"

#include "data/TableSource.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace TemplatePackage {

const QStringList &templateColumns()
{
    static const QStringList columns{
        "TypeName", "TypeFirstName", "TypeDescribe", "XMove",        "YMove",
        "THeight",  "TWidth",        "HVPrint",      "ImgFile",      "CheckBoxs",
        "PWidth",   "PHeight",       "InputBgColor", "InputFtColor",
    };
    return columns;
}

const QStringList &itemColumns()
{
    static const QStringList columns{
        "CtlName",     "CtlCName",      "CtlType",   "CtlX",         "CtlY",
        "CtlH",        "CtlW",          "CtlLH",     "SrcX",         "SrcY",
        "SrcH",        "SrcW",          "NeedPrint", "NeedShow",     "CtlFontName",
        "CtlFontSize", "BreakFontSize", "Bold",      "Italic",       "UnderLine",
        "FitParam",    "BreakNum",      "ShowOrd",   "CtlFontColor", "InitValue",
    };
    return columns;
}

const QStringList &packageColumns(const QString &table)
{
    static const QStringList templates =
        templateColumns() + QStringList{"CheckTypeID", "Visiable",     "IsCommon", "ShowOrd",
                                        "IsDefault",   kPictureColumn, "Ini_Text"};
    static const QStringList items = QStringList{"CheckTypeID"} + itemColumns();
    static const QStringList config{"Id", "DMName", "DMValue", "CheckTypeId"};
    static const QStringList none;
    if (table.compare(kTemplates, Qt::CaseInsensitive) == 0)
        return templates;
    if (table.compare(kItems, Qt::CaseInsensitive) == 0)
        return items;
    return table.compare(kConfig, Qt::CaseInsensitive) == 0 ? config : none;
}

bool checkColumns(const TableSource &source, QString *error)
{
    for (const QString &table : {kTemplates, kItems, kConfig}) {
        if (!source.hasTable(table))
            continue;
        if (const QString refused = source.refusedColumns(table); !refused.isEmpty()) {
            *error = u"票据包的格式不对：" + refused;
            return false;
        }
        for (const QString &column : source.columnNames(table))
            if (!packageColumns(table).contains(column, Qt::CaseInsensitive)) {
                *error = u"票据包的格式不对：表 " + table + u" 含有不认识的字段 " + column;
                return false;
            }
    }
    return true;
}

bool isIntegerColumn(const QString &column)
{
    static const QStringList text{"CtlName",  "CtlCName",      "CtlType",      "CtlFontName",
                                  "FitParam", "BreakNum",      "CtlFontColor", "InitValue",
                                  "TypeName", "TypeFirstName", "TypeDescribe", "HVPrint",
                                  "ImgFile",  "CheckBoxs",     "InputBgColor", "InputFtColor"};
    return !text.contains(column, Qt::CaseInsensitive);
}

QVariant itemValue(const QString &column, const QVariant &value)
{
    struct Default
    {
        const char *value;
        bool emptyCounts; // an empty text is missing too
        bool zeroCounts;  // so is "0"
    };
    static const QHash<QString, Default> defaults{
        {"underline", {"0", false, false}}, {"italic", {"0", false, false}},
        {"bold", {"0", false, false}},      {"showord", {"0", false, false}},
        {"breaknum", {"", false, false}},   {"breakfontsize", {"7", false, false}},
        {"ctllh", {"50", true, true}},      {"srcx", {"10", true, false}},
        {"srcy", {"10", true, false}},      {"srcw", {"50", true, false}},
        {"srch", {"20", true, false}},      {"needprint", {"1", true, false}},
        {"needshow", {"1", true, false}},   {"ctltype", {"Text", true, false}},
    };
    const auto it = defaults.constFind(column.toLower());
    if (it == defaults.constEnd())
        return value;
    const QString text = value.toString().trimmed();
    const bool missing =
        value.isNull() || (it->emptyCounts && text.isEmpty()) || (it->zeroCounts && text == u"0");
    return missing ? QVariant(QString::fromLatin1(it->value)) : value;
}

bool toInteger(const QVariant &value, QVariant *integer)
{
    if (value.isNull()) {
        *integer = QVariant();
        return true;
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        *integer = QVariant();
        return true;
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::abs(number) > 2e9)
        return false;
    *integer = qlonglong(std::llround(number));
    return true;
}

bool createTables(QSqlDatabase &db, QString *error)
{
    const QString templates =
        u"create table \"_ckTypeTable\" (CheckTypeID INTEGER, " + templateColumns().join(u", ") +
        u", Visiable TEXT, IsCommon TEXT, ShowOrd INTEGER, IsDefault TEXT, Img_Bytes BLOB, "
        u"Ini_Text TEXT)";
    QStringList items;
    for (const QString &c : itemColumns())
        items << c + (isIntegerColumn(c) ? u" INTEGER" : u" TEXT");
    const QString itemsSql =
        u"create table \"_ckControl\" (CheckTypeID INTEGER, " + items.join(u", ") + u')';
    QSqlQuery q(db);
    for (const QString &sql :
         {templates, itemsSql,
          QStringLiteral("create table \"_config\" (Id INTEGER PRIMARY KEY AUTOINCREMENT, "
                         "DMName TEXT(50), DMValue TEXT(200), CheckTypeId INTEGER)"),
          // An import looks each template's rows up by these.
          QStringLiteral("create index TemplatesByName on \"_ckTypeTable\" (TypeName)"),
          QStringLiteral("create index ItemsByTemplate on \"_ckControl\" (CheckTypeID)"),
          QStringLiteral("create index ConfigByTemplate on \"_config\" (CheckTypeId)")}) {
        if (!q.exec(sql)) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

} // namespace TemplatePackage
