#include "online/DatabaseUpgrade.h"

#include "base/DataHome.h"
#include "base/FileHelpers.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "data/TableSource.h"
#include "templates/Catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace {

// Date columns hold ISO dates; the older database gives date and time.
bool isDateColumn(const QString &column)
{
    return column == u"出票日期";
}

} // namespace

QString DatabaseUpgrade::olderDatabasePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("Data/EPData.ini"));
}

const std::vector<QString> &DatabaseUpgrade::tables()
{
    static const std::vector<QString> list{
        "CKPersonalInfoTable", "DataKDDTable", "DataCDHPTable", "ReceiverList",
        "MultiPrintCDHP",      "DMTable",      "DMTable2",      "coins",
        "ckTypeTable",         "CKControl",    "UserTable",     "MatchColumn",
    };
    return list;
}

DatabaseUpgrade::DatabaseUpgrade(Database &db, QString appVersion)
    : m_db(db)
    , m_appVersion(std::move(appVersion))
{}

bool DatabaseUpgrade::alreadyUpgraded() const
{
    QSqlQuery q = m_db.query();
    return execBound(q, QStringLiteral("select cvalue from configtable where cname = 'version'")) &&
           q.next() && q.value(0).toString() == m_appVersion;
}

bool DatabaseUpgrade::copyTable(const TableSource &older, const QString &table, int *rows,
                                QStringList *merged, QString *error)
{
    const SchemaTable *ours = Schema::table(table);
    const QStringList theirs = older.columnNames(table);
    QStringList columns;
    for (const SchemaColumn &c : ours->columns)
        if (theirs.contains(c.name, Qt::CaseInsensitive))
            columns << c.name;
    *rows = 0;
    // A table with none of our columns has nothing to give; ours stays as it is.
    if (columns.isEmpty())
        return true;
    const QString failed = u"转入数据表 " + table + u" 失败：";
    QSqlQuery q = m_db.query();
    if (!q.exec(u"delete from " + Database::quoted(table))) {
        *error = failed + q.lastError().text();
        return false;
    }
    QStringList names;
    for (const QString &c : columns)
        names << Database::quoted(c);
    // Older databases may hold an item twice for one template, which ours forbids: the first
    // row is kept and the others are named in the summary rather than failing everything.
    const bool items = table.compare(u"CKControl", Qt::CaseInsensitive) == 0;
    const QString insert = u"insert into " + Database::quoted(table) + u" (" + names.join(u", ") +
                           u") values (" + QStringList(columns.size(), u"?"_qs).join(u", ") + u')' +
                           (items ? u" on conflict do nothing"_qs : QString());
    if (!q.prepare(insert)) {
        *error = failed + q.lastError().text();
        return false;
    }
    QString insertError;
    const bool read = older.forEachRow(
        table, std::nullopt,
        [&](const SourceRow &row) {
            for (int i = 0; i < columns.size(); ++i) {
                QVariant v = row.value(columns[i]);
                if (isDateColumn(columns[i]) && !v.isNull())
                    v = v.toString().left(10);
                q.bindValue(i, v);
            }
            if (!q.exec()) {
                insertError = q.lastError().text();
                return false;
            }
            if (items && q.numRowsAffected() == 0) {
                *merged << QStringLiteral("模板 %1 的项目 %2")
                               .arg(row.value(QStringLiteral("CheckTypeID")).toString(),
                                    row.value(QStringLiteral("CtlName")).toString());
                return true;
            }
            ++*rows;
            return true;
        },
        error);
    if (!insertError.isEmpty())
        *error = failed + insertError;
    else if (!read)
        *error = failed + *error;
    else if (!Schema::continueNumbering(m_db.connection(), table, error))
        *error = failed + *error;
    else
        return true;
    return false;
}

DatabaseUpgrade::Summary DatabaseUpgrade::upgradeFrom(const TableSource &older,
                                                      const Progress &progress)
{
    Summary summary;
    QStringList missing;
    for (const QString &table : tables())
        if (!older.hasTable(table))
            missing << table;
    if (!missing.isEmpty()) {
        summary.error = u"旧数据库缺少数据表：" + missing.join(u", ");
        return summary;
    }
    const int total = int(tables().size()) + 2;
    int done = 0;
    summary.ok = m_db.inTransaction([&] {
        for (const QString &table : tables()) {
            progress(done, total, u"升级数据表 " + table);
            int rows = 0;
            if (!copyTable(older, table, &rows, &summary.mergedItems, &summary.error))
                return false;
            summary.rows.emplace_back(table, rows);
            ++done;
        }
        progress(done++, total, QStringLiteral("升级单据模型..."));
        if (!addDictionaryItems(m_db, &summary.error) ||
            !initTypeFirstNameValue(m_db, &summary.error))
            return false;
        progress(done++, total, QStringLiteral("升级模板数据.."));
        QSqlQuery q = m_db.query();
        const bool marked =
            execBound(q, QStringLiteral(
                             "update ckTypeTable set IsCommon = '是' where IsDefault = "
                             "'默认' or (Visiable = '启用' and (TypeName like '%邮政快递%' "
                             "or TypeName like '%申通速递%' or TypeName like '%圆通速递%' "
                             "or TypeName like '%韵达快运%' or TypeName like '%顺丰速运%'))")) &&
            execBound(q,
                      QStringLiteral("update configtable set cvalue = ? where cname = 'version'"),
                      {m_appVersion});
        if (!marked)
            summary.error = u"标记常用模板失败：" + q.lastError().text();
        return marked;
    });
    if (!summary.ok) {
        summary.rows.clear();
        summary.mergedItems.clear();
        if (summary.error.isEmpty())
            summary.error = u"升级数据提交失败：" + m_db.connection().lastError().text();
    }
    progress(total, total, summary.ok ? QStringLiteral("    升级完成！") : QString());
    return summary;
}

QList<int> DatabaseUpgrade::rebuildLayoutCaches(Database &db, Catalogue &catalogue)
{
    QList<int> ids;
    QSqlQuery q = db.query();
    if (q.exec(QStringLiteral("select CheckTypeID from ckTypeTable order by CheckTypeID")))
        while (q.next())
            ids << q.value(0).toInt();
    QList<int> failed;
    for (int id : std::as_const(ids)) {
        if (!catalogue.buildCheckIniFile(id))
            failed << id;
        catalogue.notifyLayoutChanged(id);
    }
    return failed;
}

int DatabaseUpgrade::copyPictures(Database &db, const QString &olderFolder, const DataHome &home)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("select distinct ImgFile from ckTypeTable")))
        return 0;
    int copied = 0;
    while (q.next()) {
        const QString name = q.value(0).toString();
        const QString from = QDir(olderFolder).filePath(u"Image/" + name);
        if (name.isEmpty() || QFileInfo(name).fileName() != name || !QFileInfo(from).isFile() ||
            QFileInfo::exists(home.imageDir() + name))
            continue;
        copied += FileHelpers::copyFile(from, home.imageDir() + name);
    }
    return copied;
}

bool DatabaseUpgrade::addDictionaryItems(Database &db, QString *error)
{
    struct Item
    {
        QString label;
        QString name;
        int order;
    };
    std::vector<Item> items{
        {"体积", "zdTiJi", 357},        {"代收金额", "zdDaisJE", 357},
        {"手续费", "zdShouxuFee", 358}, {"保价金额", "zdBJJE", 359},
        {"保价费", "zdBJFee", 360},     {"运费", "zdYunFee", 361},
        {"寄方编码", "zdJFKHBM", 29},   {"加急费", "zdJiaJiFee", 362},
        {"包装费", "zdBaoZFee", 363},   {"送货费", "zdSongHFee", 364},
        {"其他费", "zdQiTaFee", 365},   {"金额大写1", "zdJEDX1", 366},
        {"自定义3", "zdDef3", 470},     {"自定义4", "zdDef4", 471},
        {"自定义5", "zdDef5", 472},
    };
    for (int i = 0; i <= 12; ++i)
        items.push_back(
            {QStringLiteral("勾选%1").arg(i), QStringLiteral("DEFCHECK%1").arg(i), 409 + i});
    const QString kind = QStringLiteral("快递单");
    QSqlQuery q = db.query();
    for (const Item &item : items) {
        const QString name = item.name.toUpper();
        if (!execBound(q,
                       QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, "
                                      "CtlType, PrintItem, ShowOrd) select ?, ?, ?, 'Text', 1, ? "
                                      "where not exists (select 1 from NameDict where "
                                      "CheckTypeName = ? and upper(CtlName) = ?)"),
                       {kind, name, item.label, item.order, kind, name})) {
            *error = u"升级模型数据失败(" + kind + u',' + name + u"):" + q.lastError().text();
            return false;
        }
    }
    for (const char *sql :
         {"update NameDict set CtlName = upper(CtlName)", "update NameDict set CtlType = 'TEXT'",
          "update NameDict set CtlType = 'CHECKBOX' where CtlName like "
          "'DEFCHECK%'"})
        if (!q.exec(QString::fromLatin1(sql))) {
            *error = u"修正单据模型编码失败：" + q.lastError().text();
            return false;
        }
    return true;
}

bool DatabaseUpgrade::initTypeFirstNameValue(Database &db, QString *error)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("select CheckTypeID, TypeName from ckTypeTable where "
                               "coalesce(TypeFirstName, '') = ''"))) {
        *error = u"补全模板种类失败：" + q.lastError().text();
        return false;
    }
    QSqlQuery update = db.query();
    while (q.next()) {
        const QString name = q.value(1).toString();
        qsizetype at = name.indexOf(u'（');
        if (at < 0)
            at = name.indexOf(u'(');
        if (at < 0)
            continue;
        if (!execBound(update,
                       QStringLiteral("update ckTypeTable set TypeFirstName = ? where "
                                      "CheckTypeID = ?"),
                       {name.left(at), q.value(0)})) {
            *error = u"补全模板种类失败：" + update.lastError().text();
            return false;
        }
    }
    return true;
}
