#include "data/Schema.h"

#include "base/Resources.h"
#include "data/BoundQuery.h"

#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

namespace {

const QString kKey = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
const QString kText = QStringLiteral("TEXT");
const QString kInt = QStringLiteral("INTEGER");
const QString kDate = QStringLiteral("TEXT"); // ISO text, so ranges compare as text

std::vector<SchemaColumn> textColumns(const QStringList &names, const QString &type = kText)
{
    std::vector<SchemaColumn> columns;
    for (const QString &n : names)
        columns.push_back({n, type});
    return columns;
}

SchemaTable makeTable(const QString &name, std::initializer_list<std::vector<SchemaColumn>> parts)
{
    SchemaTable t{name, {}};
    for (const auto &part : parts)
        t.columns.insert(t.columns.end(), part.begin(), part.end());
    return t;
}

bool exec(QSqlQuery &query, const QString &sql, QString *error);

// SQLite files keep their names' letter case, as older files and packages have them.
QString schemaName(Database::Backend backend, const QString &identifier)
{
    if (backend == Database::Backend::Postgres)
        return Database::quoted(identifier);
    QString s = identifier;
    return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString schemaName(const QSqlDatabase &db, const QString &identifier)
{
    return schemaName(Database::backendOf(db), identifier);
}

// A batch list row's print state: the status it sits in, and the last batch run that sent it
// to the printer, so a jammed run can be printed again from a row.
const std::vector<SchemaColumn> &printRunColumns()
{
    static const std::vector<SchemaColumn> columns{
        {"打印状态", "TEXT(10)"}, {"打印批次", kInt}, {"打印时间", kDate}};
    return columns;
}

// The express list also keeps when each row was entered.
std::vector<SchemaColumn> receiverRunColumns()
{
    std::vector<SchemaColumn> columns{{"录入日期", kDate}};
    columns.insert(columns.end(), printRunColumns().begin(), printRunColumns().end());
    return columns;
}

// The template version a saved bill was first printed with.
const std::vector<SchemaColumn> &printedVersionColumns()
{
    static const std::vector<SchemaColumn> columns{{"模板版本", kInt}};
    return columns;
}

// What a workstation that opened a row compares before it saves it: a save bumps it, so a
// save over a row another workstation changed since is seen and refused.
const std::vector<SchemaColumn> &rowVersionColumns()
{
    static const std::vector<SchemaColumn> columns{{"RowVersion", "INTEGER NOT NULL DEFAULT 0"}};
    return columns;
}

// The workstation a batch run was printed on.
const std::vector<SchemaColumn> &batchRunWorkstation()
{
    static const std::vector<SchemaColumn> columns{{"工作站", kText}};
    return columns;
}

// Adds the columns an older table lacks.
bool addMissingColumns(QSqlDatabase &db, const QString &table,
                       const std::vector<SchemaColumn> &columns, QString *error)
{
    QSqlQuery query(db);
    // The columns a query answers: the driver's catalogue look-up misses PostgreSQL's
    // folded names.
    if (!exec(query, u"SELECT * FROM " + schemaName(db, table) + u" WHERE 1 = 0", error))
        return false;
    const QSqlRecord existing = query.record();
    query.finish();
    for (const SchemaColumn &c : columns) {
        if (!existing.contains(c.name) &&
            !exec(query,
                  u"ALTER TABLE " + schemaName(db, table) + u" ADD COLUMN " +
                      schemaName(db, c.name) + u' ' +
                      Database::columnType(Database::backendOf(db), c.type),
                  error))
            return false;
    }
    return true;
}

std::vector<SchemaTable> buildTables()
{
    const std::vector<SchemaColumn> id{{"ID", kKey}};
    const std::vector<SchemaColumn> serial{{"流水号", kKey}};
    const std::vector<SchemaColumn> custom5 =
        textColumns({"自定义1", "自定义2", "自定义3", "自定义4", "自定义5"});

    std::vector<SchemaColumn> ckTypeColumns{
        {"CheckTypeID", "INTEGER PRIMARY KEY"},
        {"TypeName", kText},
        {"TypeFirstName", "TEXT(50)"},
        {"TypeDescribe", kText},
        {"IsDefault", kText},
        {"IsCommon", "TEXT(10)"},
        {"Visiable", kText},
        {"ImgFile", kText},
        {"IniFile", "TEXT(50)"},
        {"XMove", kInt},
        {"YMove", kInt},
        {"HVPrint", kText},
        {"THeight", kInt},
        {"TWidth", kInt},
        {"PHeight", kInt},
        {"PWidth", kInt},
        {"CheckBoxs", kText},
        {"ShowOrd", kInt},
        {"InputBgColor", kText},
        {"InputFtColor", kText},
        {"PreImgURL", kText},
    };
    std::vector<SchemaColumn> ckControlColumns{
        {"ID", kKey},
        {"CheckTypeID", kInt},
        {"CtlName", kText},
        {"CtlCName", kText},
        {"CtlType", "TEXT(30)"},
        {"CtlX", kInt},
        {"CtlY", kInt},
        {"CtlH", kInt},
        {"CtlW", kInt},
        {"CtlLH", kInt},
        {"SrcX", kInt},
        {"SrcY", kInt},
        {"SrcH", kInt},
        {"SrcW", kInt},
        {"NeedPrint", kInt},
        {"NeedShow", kInt},
        {"CtlFontName", kText},
        {"CtlFontSize", kInt},
        {"CtlFontColor", kText},
        {"BreakFontSize", kInt},
        {"Bold", kInt},
        {"Italic", kInt},
        {"UnderLine", kInt},
        {"FitParam", kText},
        {"BreakNum", kText},
        {"ShowOrd", kInt},
        {"InitValue", "TEXT(80)"},
    };
    std::vector<SchemaColumn> kddColumns = textColumns(
        {"模板种类",   "寄件单位",   "寄件地址", "寄件国家", "始发站",   "寄件省",   "寄件市县",
         "寄件镇区",   "寄件联系人", "寄件电话", "寄方手机", "寄方邮编", "寄件日期", "寄件时间",
         "收件单位",   "收件地址",   "目的站",   "收件国家", "收件省",   "收件市县", "收件镇区",
         "收件联系人", "收件电话",   "收方手机", "收方邮编", "物品内容", "件数",     "重量",
         "总费用",     "快递帐号",   "其他选项", "快递单号", "备注"});
    for (const auto &c : textColumns({"加急费", "手续费"}, "TEXT(50)"))
        kddColumns.push_back(c);
    kddColumns.push_back({"代收金额", "TEXT(30)"});
    for (const auto &c : textColumns(
             {"包装费", "运费", "其他费", "体积", "送货费", "金额大写1", "保价金额", "保价费"},
             "TEXT(50)"))
        kddColumns.push_back(c);

    std::vector<SchemaColumn> cdhpColumns =
        textColumns({"模板种类", "其他选项", "票据编号", "票据状态", "备注", "币种", "金额"});
    cdhpColumns.push_back({"出票日期", kDate});
    for (const auto &c :
         textColumns({"承兑协议号", "汇票到期日", "收款人全称", "收款人开户行", "收款人账号",
                      "出票人全称", "出票人账号", "付款行名称", "付款行行号", "付款行地址"}))
        cdhpColumns.push_back(c);

    std::vector<SchemaColumn> receiverColumns =
        textColumns({"全称", "联系人", "电话", "手机", "国家", "省", "市", "镇区", "地址", "邮编",
                     "目的站", "内件说明", "备注", "件数", "重量", "费用", "批打分组"});
    for (const auto &c :
         textColumns({"体积", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费",
                      "其他费", "金额大写1", "自定义3", "自定义4", "自定义5"},
                     "TEXT(50)"))
        receiverColumns.push_back(c);
    receiverColumns.push_back({"代收金额", "TEXT(30)"});
    for (const SchemaColumn &c : receiverRunColumns())
        receiverColumns.push_back(c);

    std::vector<SchemaColumn> personColumns = textColumns(
        {"全称", "助记码", "国家", "省", "市", "镇区", "地址", "邮编", "联系人", "电话", "手机",
         "开户行账号", "开户银行", "开户行地址", "开户行行号", "识别号", "分组", "单位类型"});
    personColumns.push_back({"排序", kInt});
    for (const auto &c : textColumns({"扩展信息", "自定义1", "自定义2", "自定义3"}))
        personColumns.push_back(c);

    std::vector<SchemaTable> tables{
        makeTable("configtable", {textColumns({"cname", "cvalue"})}),
        makeTable(
            "DMTable",
            {id, textColumns({"DMName", "DMValue"}), {{"CheckTypeID", kInt}}, rowVersionColumns()}),
        makeTable("DMTable2", {textColumns({"类型", "一级代码", "二级代码"})}),
        makeTable("coins", {textColumns({"币种", "缩写"}), {{"顺序", kInt}}}),
        makeTable("ckTypeTable", {ckTypeColumns}),
        makeTable("CKControl", {ckControlColumns}),
        makeTable("NameDict", {id,
                               {{"CheckTypeName", kText},
                                {"CtlName", kText},
                                {"CtlLabel", kText},
                                {"CtlData", "TEXT(100)"},
                                {"CtlType", "TEXT(20)"},
                                {"PrintItem", kInt},
                                {"ShowOrd", kInt},
                                {"Groups", kText}}}),
        makeTable("CKPersonalInfoTable", {id, personColumns, rowVersionColumns()}),
        makeTable("DataKDDTable", {serial, kddColumns, custom5, printedVersionColumns()}),
        makeTable("DataCDHPTable", {serial, cdhpColumns, custom5, printedVersionColumns()}),
        makeTable("ReceiverList", {id, receiverColumns}),
        makeTable("MultiPrintCDHP",
                  {id,
                   textColumns({"模板种类", "票据编号"}),
                   {{"出票日期", kDate}},
                   textColumns({"承兑协议号", "币种", "金额", "汇票到期日", "收款人全称",
                                "收款人账号", "收款人开户行", "出票人全称", "出票人账号",
                                "付款行名称", "付款行地址", "付款行行号", "自定义1", "自定义2",
                                "自定义3", "其他选项", "批打分组", "备注", "票据状态"}),
                   printRunColumns()}),
        // One row per batch run of either list: its number is never given twice, and its rows
        // are kept in print order, so any run can be printed again from one of them.
        makeTable("BatchRunTable", {{{"批次", "INTEGER PRIMARY KEY"},
                                     {"列表", kText},
                                     {"打印时间", kDate},
                                     {"操作员", kText},
                                     {"打印机", kText},
                                     {"条目", kText},
                                     {"张数", kInt},
                                     {"状态", "TEXT(10)"}},
                                    batchRunWorkstation()}),
        // What each print's template looked like, once per distinct content (JSON).
        makeTable("TemplateVersionTable", {{{"VersionID", kKey},
                                            {"CheckTypeID", kInt},
                                            {"Fingerprint", kText},
                                            {"Content", kText},
                                            {"FirstUsed", kDate}}}),
        makeTable("UserTable", {id,
                                textColumns({"UserName", "Passwd", "RoleName", "Remark"}),
                                {{"lastlogin", kDate}}}),
        makeTable("MatchColumn", {{{"Id", kKey},
                                   {"MatchType", "TEXT(50)"},
                                   {"ItemName", "TEXT(50)"},
                                   {"SourceName", "TEXT(200)"},
                                   {"ShowOrd", "INTEGER DEFAULT 0"}}}),
        makeTable("_Config", {{{"Id", kKey},
                               {"DMName", "TEXT(50)"},
                               {"DMValue", "TEXT(200)"},
                               {"CheckTypeId", kInt}}}),
        makeTable("_CKTypeTable", {ckTypeColumns}),
        makeTable("_CKControl", {ckControlColumns}),
    };
    return tables;
}

bool exec(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    *error = query.lastError().text() + u" [" + sql.left(200) + u']';
    return false;
}

// Seed files hold one statement per line, each ending with ';'. Files run in name order.
bool runSeedFiles(QSqlDatabase &db, QString *error)
{
    registerResources();
    QStringList files;
    QDirIterator it(QStringLiteral(":/seed"), {QStringLiteral("*.sql")}, QDir::Files);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QSqlQuery query(db);
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = u"cannot read " + path;
            return false;
        }
        QString statement;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || (statement.isEmpty() && line.startsWith(u"--")))
                continue;
            statement += statement.isEmpty() ? line : u'\n' + line;
            if (statement.endsWith(u';')) {
                if (!exec(query, statement, error))
                    return false;
                statement.clear();
            }
        }
    }
    return true;
}

bool createAllTables(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    for (const SchemaTable &t : Schema::tables())
        if (!exec(query, t.createSql(Database::backendOf(db)), error))
            return false;
    return true;
}

const char16_t *const kMatchType = u"收件信息导入";

bool execBoundOrSay(QSqlQuery &query, const QString &sql, const QVariantList &values,
                    QString *error)
{
    if (execBound(query, sql, values))
        return true;
    *error = query.lastError().text() + u" [" + sql + u']';
    return false;
}

bool seedMatchColumns(QSqlDatabase &db, QString *error)
{
    static const char16_t *const rules[][2] = {
        {u"联系人", u"联系人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"},
        {u"单位全称", u"会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称"},
        {u"电话", u"收件电话,固定电话,联系方式,联系电话,*电话*"},
        {u"手机", u"收件手机,Mobile,移动电话,*手机*"},
        {u"地址", u"收件地址,*地址*,address"},
        {u"省", u"*省*,州,Province"},
        {u"市", u"市,县市,城市,二级区划,city"},
        {u"镇区", u"镇区,区县,三级区划,区镇"},
        {u"银行账号", u"账号,银行账号,开户行账号,帐号"},
        {u"开户银行", u"开户行,开户银行,银行名称,银行"},
        {u"物品内容", u"物品内容,内件说明,商品名称,宝贝名称,宝贝标题"},
        {u"重量", u"重量,计费重量,weight"},
        {u"国家", u"国家,country"},
        {u"备注", u"备注,买家留言"},
        {u"目的站", u"目的地,目的站,城市"},
        {u"件数", u"件数,数量"},
        {u"费用", u"费用,总费用,费用合计"},
        {u"订单号", u"\t订单编号,订单ID,订单号"},
        {u"会员ID", u"QQ,旺旺,会员ID,客户编号"},
        {u"保价金额", u"保价金额,声明价值,保险金额"},
        {u"保价费", u"保价费,保险费"},
        {u"运费", u"运费,运输费"},
        {u"加急费", u"加急费"},
        {u"包装费", u"包装费"},
        {u"体积", u"体积"},
        {u"代收金额", u"代收金额,代收金额小写,代收款"},
        {u"手续费", u"手续费,代收费"},
        {u"金额大写1", u"金额大写1,金额"},
        {u"自定义3", u"自定义3"},
        {u"自定义4", u"自定义4"},
        {u"自定义5", u"自定义5"},
        {u"助记码", u"助记码"},
        {u"批打分组", u"分组,批打分组,导入分组"},
    };
    QSqlQuery query(db);
    const QString type = QString::fromUtf16(kMatchType);
    if (!execBoundOrSay(query,
                        QStringLiteral("SELECT COUNT(*) FROM MatchColumn WHERE MatchType = ?"),
                        {type}, error))
        return false;
    if (query.next() && query.value(0).toInt() > 0)
        return true; // rules of an older install stay as their users left them
    for (const auto &rule : rules) {
        if (!execBoundOrSay(query,
                            QStringLiteral("INSERT INTO MatchColumn (MatchType, ItemName, "
                                           "SourceName, ShowOrd) VALUES (?, ?, ?, 0)"),
                            {type, QString::fromUtf16(rule[0]), QString::fromUtf16(rule[1])},
                            error))
            return false;
    }
    return true;
}

bool addMatchPatterns(QSqlDatabase &db, QString *error)
{
    // Exact titles unless starred; none may make "mobile phone" match, nor take "城市" from 市.
    static const char16_t *const added[][2] = {
        {u"联系人", u"收件人,收货人姓名,Contact,Consignee,Receiver,Recipient"},
        {u"单位全称", u"单位,单位名称,收货单位,Company,*Company*,Organization"},
        {u"电话", u"座机,Phone,Tel,Telephone"},
        {u"手机", u"Cell,Cellphone"},
        {u"地址", u"Street,*Address*"},
        {u"省", u"State"},
        {u"市", u"*城市*,地级市,所在市"},
        {u"镇区", u"区,县区,区/县,县/区,*区县*,District,County"},
        {u"邮编", u"邮编,邮政编码,*邮编*,Zip,Zipcode,Zip Code,Postcode,Postal Code"},
        {u"物品内容", u"商品,商品标题,品名,货品名称,产品名称,Product,Item"},
        {u"件数", u"*数量*,Qty,Quantity"},
        {u"重量", u"*重量*"},
        {u"备注", u"*备注*,*留言*,Remark,Remarks,Note,Notes,Memo"},
        {u"订单号", u"*订单编号*,*订单号*,外部订单号,Order ID,OrderID,Order No,Order Number"},
        {u"会员ID", u"会员名,买家昵称,买家ID"},
    };
    const QString type = QString::fromUtf16(kMatchType);
    QSqlQuery query(db);
    for (const auto &add : added) {
        const QString item = QString::fromUtf16(add[0]);
        if (!execBoundOrSay(query,
                            QStringLiteral("SELECT Id, SourceName FROM MatchColumn WHERE "
                                           "MatchType = ? AND ItemName = ? ORDER BY Id LIMIT 1"),
                            {type, item}, error))
            return false;
        if (!query.next()) {
            if (!execBoundOrSay(query,
                                QStringLiteral("INSERT INTO MatchColumn (MatchType, ItemName, "
                                               "SourceName, ShowOrd) VALUES (?, ?, ?, 0)"),
                                {type, item, QString::fromUtf16(add[1])}, error))
                return false;
            continue;
        }
        const QVariant id = query.value(0);
        QStringList patterns = query.value(1).toString().split(u',', Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            if (p.startsWith(u'\t'))
                p = p.trimmed();
        }
        for (const QString &p : QString::fromUtf16(add[1]).split(u','))
            if (!patterns.contains(p, Qt::CaseInsensitive))
                patterns << p;
        query.finish();
        if (!execBoundOrSay(query,
                            QStringLiteral("UPDATE MatchColumn SET SourceName = ? WHERE Id = ?"),
                            {patterns.join(u','), id}, error))
            return false;
    }
    return true;
}

// Ordered migrations; migration i brings the schema to version i + 1.
const std::vector<std::function<bool(QSqlDatabase &, QString *)>> &migrations()
{
    static const std::vector<std::function<bool(QSqlDatabase &, QString *)>> list{
        [](QSqlDatabase &db, QString *error) {
            return createAllTables(db, error) && runSeedFiles(db, error);
        },
        // The address book lists a hundred thousand parties in its default order at once, and
        // the bill forms look names and mnemonics up on every Enter.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            for (const char *sql : {
                     "CREATE INDEX IF NOT EXISTS CKPersonal_Order ON CKPersonalInfoTable "
                     "(排序, 全称 DESC)",
                     "CREATE INDEX IF NOT EXISTS CKPersonal_TypeOrder ON CKPersonalInfoTable "
                     "(单位类型, 排序, 全称 DESC)",
                     "CREATE INDEX IF NOT EXISTS CKPersonal_Name ON CKPersonalInfoTable (全称)",
                     "CREATE INDEX IF NOT EXISTS CKPersonal_Contact ON CKPersonalInfoTable "
                     "(联系人)",
                     "CREATE INDEX IF NOT EXISTS CKPersonal_Group ON CKPersonalInfoTable (分组)",
                 }) {
                if (!exec(query, QString::fromUtf8(sql), error))
                    return false;
            }
            return exec(
                query,
                u"CREATE INDEX IF NOT EXISTS CKPersonal_InputCode ON CKPersonalInfoTable (" +
                    Database::caseless(Database::backendOf(db), QStringLiteral("助记码")) + u')',
                error);
        },
        // The history lists search and sort a hundred thousand saved bills by date, number and
        // party, and list the slips' template names.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            for (const char *sql : {
                     "CREATE INDEX IF NOT EXISTS DataKDD_Date ON DataKDDTable (寄件日期)",
                     "CREATE INDEX IF NOT EXISTS DataKDD_Number ON DataKDDTable (快递单号)",
                     "CREATE INDEX IF NOT EXISTS DataKDD_Template ON DataKDDTable (模板种类)",
                     "CREATE INDEX IF NOT EXISTS DataKDD_Receiver ON DataKDDTable (收件单位)",
                     "CREATE INDEX IF NOT EXISTS DataKDD_Sender ON DataKDDTable (寄件单位)",
                     "CREATE INDEX IF NOT EXISTS DataCDHP_Date ON DataCDHPTable (出票日期)",
                     "CREATE INDEX IF NOT EXISTS DataCDHP_Number ON DataCDHPTable (承兑协议号)",
                     "CREATE INDEX IF NOT EXISTS DataCDHP_Drawer ON DataCDHPTable (出票人全称)",
                     "CREATE INDEX IF NOT EXISTS DataCDHP_Payee ON DataCDHPTable (收款人全称)",
                 }) {
                if (!exec(query, QString::fromUtf8(sql), error))
                    return false;
            }
            return true;
        },
        // The batch list's entry date and print state; rows stored by any window get their
        // entry time from the database itself.
        [](QSqlDatabase &db, QString *error) {
            if (!addMissingColumns(db, QStringLiteral("ReceiverList"), receiverRunColumns(), error))
                return false;
            QSqlQuery query(db);
            if (Database::backendOf(db) == Database::Backend::Postgres)
                return exec(query,
                            QStringLiteral("ALTER TABLE ReceiverList ALTER COLUMN 录入日期 SET "
                                           "DEFAULT to_char(LOCALTIMESTAMP, "
                                           "'YYYY-MM-DD HH24:MI:SS')"),
                            error);
            return exec(query,
                        QStringLiteral(
                            "CREATE TRIGGER IF NOT EXISTS ReceiverList_Entered AFTER INSERT ON "
                            "ReceiverList WHEN NEW.录入日期 IS NULL BEGIN UPDATE ReceiverList SET "
                            "录入日期 = strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime') WHERE "
                            "ID = NEW.ID; END"),
                        error);
        },
        // The column rules of the spreadsheet import, as the program has always shipped them.
        [](QSqlDatabase &db, QString *error) { return seedMatchColumns(db, error); },
        // Titles of today's shop, platform and office exports; the order number's rule lost
        // the tab that kept "订单编号" from ever matching. The batch list is judged for
        // duplicates by name.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            return addMatchPatterns(db, error) &&
                   exec(query,
                        QStringLiteral("CREATE INDEX IF NOT EXISTS ReceiverList_Name ON "
                                       "ReceiverList (全称)"),
                        error);
        },
        // A first operator, so that switching the login on never locks everyone out; the
        // initial password is empty, as the login window says.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            return exec(
                query,
                QStringLiteral("INSERT INTO UserTable (UserName, Passwd, RoleName, Remark) "
                               "SELECT 'admin', '', '管理员', '初始操作员' WHERE NOT EXISTS "
                               "(SELECT 1 FROM UserTable)"),
                error);
        },
        // Engine, preview and catalogue each pick "the" row of an item by name; a second row of
        // the same name made them disagree.
        [](QSqlDatabase &db, QString *error) { return Schema::makeItemNamesUnique(db, error); },
        // The draft batch list keeps which run printed each draft, as the express list does.
        [](QSqlDatabase &db, QString *error) {
            return addMissingColumns(db, QStringLiteral("MultiPrintCDHP"), printRunColumns(),
                                     error);
        },
        // The record of every batch run, stored before its document goes to the printer.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            return exec(
                query,
                Schema::table(QStringLiteral("BatchRunTable"))->createSql(Database::backendOf(db)),
                error);
        },
        // How each printer misplaces and stretches the print, measured on a test sheet: for all
        // of a printer's templates (CheckTypeID 0) or for one; and how long it feeds a page of
        // continuous paper (the printer's row). Millimetres and plain factors.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            return exec(
                query,
                Database::columnType(
                    Database::backendOf(db),
                    QStringLiteral("CREATE TABLE IF NOT EXISTS PrinterCalibration ("
                                   "PrinterName TEXT NOT NULL, CheckTypeID INTEGER NOT NULL "
                                   "DEFAULT 0, OffsetX REAL NOT NULL DEFAULT 0, OffsetY REAL "
                                   "NOT NULL DEFAULT 0, ScaleX REAL NOT NULL DEFAULT 1, "
                                   "ScaleY REAL NOT NULL DEFAULT 1, PageFeed REAL NOT NULL "
                                   "DEFAULT 1, Residual REAL, "
                                   "PRIMARY KEY (PrinterName, CheckTypeID))")),
                error);
        },
        // The history windows count and sum what a search finds on every query: each searched
        // column's index carries the amount, so the count and sum, and the keys of the rows
        // found, come from the index alone. Both contacts get their own index, so that an exact
        // "unit or contact" search looks up both. The one-column indexes these start with go.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            for (const char *sql : {
                     "DROP INDEX IF EXISTS DataKDD_Date",
                     "DROP INDEX IF EXISTS DataKDD_Number",
                     "DROP INDEX IF EXISTS DataKDD_Template",
                     "DROP INDEX IF EXISTS DataKDD_Receiver",
                     "DROP INDEX IF EXISTS DataKDD_Sender",
                     "DROP INDEX IF EXISTS DataCDHP_Date",
                     "DROP INDEX IF EXISTS DataCDHP_Number",
                     "DROP INDEX IF EXISTS DataCDHP_Drawer",
                     "DROP INDEX IF EXISTS DataCDHP_Payee",
                     "CREATE INDEX DataKDD_DateCharge ON DataKDDTable (寄件日期, 总费用)",
                     "CREATE INDEX DataKDD_NumberCharge ON DataKDDTable (快递单号, 总费用)",
                     "CREATE INDEX DataKDD_TemplateCharge ON DataKDDTable (模板种类, 总费用)",
                     "CREATE INDEX DataKDD_ReceiverCharge ON DataKDDTable "
                     "(收件单位, 收件联系人, 总费用)",
                     "CREATE INDEX DataKDD_ReceiverContact ON DataKDDTable (收件联系人, 总费用)",
                     "CREATE INDEX DataKDD_SenderCharge ON DataKDDTable "
                     "(寄件单位, 寄件联系人, 总费用)",
                     "CREATE INDEX DataKDD_SenderContact ON DataKDDTable (寄件联系人, 总费用)",
                     "CREATE INDEX DataKDD_Charge ON DataKDDTable (总费用)",
                     "CREATE INDEX DataCDHP_DateAmount ON DataCDHPTable (出票日期, 金额)",
                     "CREATE INDEX DataCDHP_NumberAmount ON DataCDHPTable (承兑协议号, 金额)",
                     "CREATE INDEX DataCDHP_DrawerAmount ON DataCDHPTable (出票人全称, 金额)",
                     "CREATE INDEX DataCDHP_PayeeAmount ON DataCDHPTable (收款人全称, 金额)",
                     "CREATE INDEX DataCDHP_Amount ON DataCDHPTable (金额)",
                 }) {
                if (!exec(query, QString::fromUtf8(sql), error))
                    return false;
            }
            return true;
        },
        // Saved bills print again exactly as first printed: each keeps the template version it
        // used, a row shared by all prints of equal content.
        [](QSqlDatabase &db, QString *error) {
            QSqlQuery query(db);
            if (!exec(query,
                      Schema::table(QStringLiteral("TemplateVersionTable"))
                          ->createSql(Database::backendOf(db)),
                      error) ||
                !exec(query,
                      QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS TemplateVersion_Content ON "
                                     "TemplateVersionTable (Fingerprint)"),
                      error))
                return false;
            for (const char *table : {"DataKDDTable", "DataCDHPTable"})
                if (!addMissingColumns(db, QString::fromLatin1(table), printedVersionColumns(),
                                       error))
                    return false;
            return true;
        },
        // Several workstations on one shared database: parties and dictionary entries carry a
        // row version, batch runs the workstation that printed them.
        [](QSqlDatabase &db, QString *error) {
            return addMissingColumns(db, QStringLiteral("CKPersonalInfoTable"), rowVersionColumns(),
                                     error) &&
                   addMissingColumns(db, QStringLiteral("DMTable"), rowVersionColumns(), error) &&
                   addMissingColumns(db, QStringLiteral("BatchRunTable"), batchRunWorkstation(),
                                     error);
        },
    };
    return list;
}

bool migrateStep(QSqlDatabase &db, int version, QString *error)
{
    return migrations()[size_t(version)](db, error) &&
           Database::setSchemaVersion(db, version + 1, error);
}

} // namespace

QString SchemaTable::createSql(Database::Backend backend) const
{
    QStringList parts;
    for (const SchemaColumn &c : columns)
        parts << schemaName(backend, c.name) + u' ' + Database::columnType(backend, c.type);
    return u"CREATE TABLE IF NOT EXISTS " + schemaName(backend, name) + u" (" + parts.join(u", ") +
           u')';
}

namespace Schema {

const std::vector<SchemaTable> &tables()
{
    static const std::vector<SchemaTable> list = buildTables();
    return list;
}

const SchemaTable *table(const QString &name)
{
    for (const SchemaTable &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

int latestVersion()
{
    return int(migrations().size());
}

bool makeItemNamesUnique(QSqlDatabase &db, QString *error)
{
    // Names are matched without regard to case everywhere, so they are unique that way too.
    QSqlQuery query(db);
    return exec(query,
                QStringLiteral("DELETE FROM CKControl WHERE ID NOT IN (SELECT MIN(ID) FROM "
                               "CKControl GROUP BY CheckTypeID, upper(CtlName))"),
                error) &&
           exec(query,
                QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS CKControl_TypeName ON "
                               "CKControl (CheckTypeID, upper(CtlName))"),
                error);
}

bool continueNumbering(QSqlDatabase &db, const QString &table, QString *error)
{
    const SchemaTable *t = Schema::table(table);
    if (!t || Database::backendOf(db) == Database::Backend::Sqlite)
        return true;
    for (const SchemaColumn &c : t->columns) {
        if (c.type != kKey)
            continue;
        const QString name = Database::quoted(t->name);
        const QString key = Database::quoted(c.name);
        QSqlQuery query(db);
        // setval's third argument false: the next number is the value itself.
        if (!execBoundOrSay(query,
                            u"SELECT setval(pg_get_serial_sequence(?, ?), COALESCE(MAX(" + key +
                                u"), 0) + 1, false) FROM " + name,
                            {name, key.mid(1).chopped(1)}, error))
            return false;
    }
    return true;
}

QString migrate(QSqlDatabase &db, int fromVersion)
{
    for (int version = fromVersion; version < latestVersion(); ++version) {
        QString error;
        if (!db.transaction())
            return db.lastError().text();
        if (!migrateStep(db, version, &error)) {
            db.rollback();
            return error;
        }
        if (!db.commit())
            return db.lastError().text();
    }
    return {};
}

QString migrateWithin(QSqlDatabase &db, int fromVersion)
{
    for (int version = fromVersion; version < latestVersion(); ++version) {
        QString error;
        if (!migrateStep(db, version, &error))
            return error;
    }
    return {};
}

} // namespace Schema
