#include "RefusingTrigger.h"
#include "TestHome.h"
#include "base/IniFile.h"
#include "batch/ColumnMatch.h"
#include "batch/ImportLog.h"
#include "batch/SpreadsheetImport.h"
#include "data/spreadsheet/CsvReader.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// One import of CSV text, matched by the default rules.
struct Import
{
    Import(TestHome &home, const QByteArray &csv, ImportOptions options,
           SpreadsheetImport::Questions questions = {})
        : sheet("list.csv", csv)
        , log(home.path())
    {
        EXPECT_TRUE(sheet.load());
        QStringList titles;
        for (int c = 1; c <= sheet.usedColumns(); ++c)
            titles << sheet.cellText(1, c);
        const auto &items = ImportItems::of(options.scenario);
        const std::vector<int> columns = ColumnMatch::autoNewMatchProperty(
            ColumnMatch::titlesOf(titles), items,
            ColumnMatch::Rules::LoadAllConstColumnPair(home.db().connection()));
        EXPECT_TRUE(log.start());
        run = std::make_unique<SpreadsheetImport>(home.db(), sheet, log, options, columns,
                                                  std::move(questions));
        EXPECT_TRUE(run->begin("/tmp/list.csv"));
    }
    SpreadsheetImport::State finish(int chunk = 2)
    {
        while (run->step(chunk) == SpreadsheetImport::State::Running) {
        }
        log.info("Finish", run->summary());
        EXPECT_TRUE(log.finish());
        return run->state();
    }

    CsvReader sheet;
    ImportLog log;
    std::unique_ptr<SpreadsheetImport> run;
};

QStringList column(TestHome &home, const QString &sql)
{
    QStringList values;
    QSqlQuery q(home.db().connection());
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    while (q.next())
        values << q.value(0).toString();
    return values;
}

ImportOptions batchList()
{
    ImportOptions o;
    o.scenario = ImportScenario::BatchList;
    o.judgeRepeated = o.byName = o.byContact = o.byPhone = false;
    return o;
}

} // namespace

TEST(SpreadsheetImport, AddressBookStoresValidRowsAndLogsTheOthers)
{
    TestHome home;
    QSqlQuery q(home.db().connection());
    ASSERT_TRUE(q.exec("INSERT INTO CKPersonalInfoTable (全称, 联系人, 电话) "
                       "VALUES ('甲公司', '张三', '010-1')"));
    Import import(home,
                  "单位名称,联系人,电话,手机,地址,单位类型\n"
                  "甲公司,张三,010-1,,北京,\n" // already in the book
                  "乙公司,李四,'010-2,'139,上海,我方单位\n"
                  ",,,138,无名路,\n" // no name, contact or phone
                  "丙公司,王五,010-3,,广州,其他\n",
                  ImportOptions{});
    EXPECT_EQ(import.finish(), SpreadsheetImport::State::Finished);
    EXPECT_EQ(import.run->total(), 4);
    EXPECT_EQ(import.run->stored(), 2);
    EXPECT_EQ(import.run->duplicates(), 1);
    EXPECT_EQ(import.run->invalid(), 1);
    EXPECT_EQ(column(home, "SELECT 全称 || '|' || 电话 || '|' || 手机 || '|' || 单位类型 || '|' "
                           "|| 排序 FROM CKPersonalInfoTable WHERE 全称 <> '甲公司' ORDER BY ID"),
              QStringList({"乙公司|010-2|139|我方单位|0", "丙公司|010-3||往来单位|0"}));
    EXPECT_TRUE(
        import.run->summary().startsWith("导入结束，共有 2 条导入成功！\r\n 其中跳过了2 条"))
        << import.run->summary().toStdString();
    EXPECT_TRUE(import.run->summary().contains("跳过的行：第 2、4 行"))
        << import.run->summary().toStdString();

    IniFile log(ImportLog::fileName(home.path()));
    EXPECT_EQ(log.readString("INFO", "File"), "数据文件来源:/tmp/list.csv");
    EXPECT_EQ(log.readString("INFO", "Total"), "本次任务数据共有：4行");
    EXPECT_EQ(log.readString("LOG", "N2"), "重复，单位：甲公司,联系人：张三,电话：010-1");
    EXPECT_EQ(log.readString("LOG", "N4"), "无效行，联系人、电话、全称均为空！");
    EXPECT_EQ(log.keys("LOG").size(), 2);
}

TEST(SpreadsheetImport, DuplicateJudging)
{
    const QByteArray csv = "全称,联系人,电话\n甲,张,1\n甲,张,1\n甲,李,1\n";
    const struct
    {
        const char *what;
        QByteArray csv;
        ImportOptions options;
        bool answerSkip;
        int stored;
        int asked;
    } cases[] = {
        {"all three criteria", csv, ImportOptions{}, true, 2, 0},
        {"empty phones are never equal", "全称,联系人,电话\n甲,张,\n甲,张,\n", ImportOptions{},
         true, 2, 0},
        {"a different mobile is another person",
         "全称,联系人,电话,手机\n甲,张,1,139\n甲,张,1,138\n", ImportOptions{}, true, 2, 0},
        {"the same mobile, or none in the row, is the same person",
         "全称,联系人,电话,手机\n甲,张,1,139\n甲,张,1,139\n甲,张,1,\n", ImportOptions{}, true, 1,
         0},
        {"name only: rows without a name are never the same", "全称,联系人,电话\n,张,1\n,张,1\n",
         [] {
             ImportOptions o;
             o.byContact = o.byPhone = false;
             return o;
         }(),
         true, 2, 0},
        {"judged without criteria: nothing is a duplicate", csv,
         [] {
             ImportOptions o;
             o.byName = o.byContact = o.byPhone = false;
             return o;
         }(),
         true, 3, 0},
        {"name only", csv,
         [] {
             ImportOptions o;
             o.byContact = o.byPhone = false;
             return o;
         }(),
         true, 1, 0},
        {"asked, No stores it", csv,
         [] {
             ImportOptions o;
             o.askOnDuplicate = true;
             return o;
         }(),
         false, 3, 1},
    };
    for (const auto &c : cases) {
        TestHome home;
        QStringList questions;
        Import import(home, c.csv, c.options,
                      {[&](const QString &q) {
                           questions << q;
                           return c.answerSkip;
                       },
                       {}});
        import.finish();
        EXPECT_EQ(import.run->stored(), c.stored) << c.what;
        EXPECT_EQ(questions.size(), c.asked) << c.what;
    }
    TestHome home;
    QStringList questions;
    ImportOptions ask;
    ask.askOnDuplicate = true;
    Import import(home, csv, ask,
                  {[&](const QString &q) {
                       questions << q;
                       return true;
                   },
                   {}});
    import.finish();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0],
              "单位\"甲(联系人:张)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！");
}

TEST(SpreadsheetImport, BatchListTakesRemarkOptionsAndCutsLongValues)
{
    TestHome home;
    ImportOptions o = batchList();
    o.orderIdToRemark = o.memberIdToRemark = true;
    o.listName = "上午";
    const QByteArray longFee(60, '9');
    Import import(home,
                  "收货人,电话,备注,订单编号,会员名,运费,城市\n"
                  "张三,1, 易碎 ,A001,zs," +
                      longFee +
                      ",杭州\n"
                      "李四,2,,,,5,\n",
                  o);
    import.finish();
    EXPECT_EQ(import.run->stored(), 2);
    EXPECT_EQ(column(home, "SELECT 备注 || '|' || 运费 || '|' || 市 || '|' || 目的站 || '|' || "
                           "批打分组 FROM ReceiverList ORDER BY ID"),
              QStringList({"易碎 订单号:A001;会员ID:zs|" + QString(50, u'9') + "|杭州||上午",
                           "|5|||上午"}));
    IniFile log(ImportLog::fileName(home.path()));
    EXPECT_TRUE(log.readString("LOG", "N2").contains("运费"));
}

TEST(SpreadsheetImport, StoppedImportKeepsTheRowsStoredSoFar)
{
    TestHome home;
    int asked = 0;
    Import import(home, "联系人\n一\n二\n三\n四\n五\n", batchList(),
                  {{}, [&] { return ++asked == 4; }});
    EXPECT_EQ(import.finish(2), SpreadsheetImport::State::Stopped);
    EXPECT_EQ(import.run->stored(), 3);
    EXPECT_EQ(column(home, "SELECT COUNT(*) FROM ReceiverList"), QStringList({"3"}));
    EXPECT_TRUE(import.run->summary().startsWith("导入已中止，共有 3 条导入成功！"));
    EXPECT_TRUE(import.run->summary().contains("还有 2 行未导入"));
}

TEST(SpreadsheetImport, TitleRowOnlyStoresNothing)
{
    TestHome home;
    Import import(home, "联系人,电话\n", batchList());
    EXPECT_EQ(import.run->state(), SpreadsheetImport::State::Finished);
    EXPECT_EQ(import.run->total(), 0);
    EXPECT_TRUE(import.run->summary().startsWith("导入结束，共有 0 条导入成功！"));
}

TEST(SpreadsheetImport, ARowTheDatabaseRefusesAndAChunkItDrops)
{
    // Rows 2 to 6, two per chunk: row 5 is refused by a trigger, which either refuses the row
    // alone or, as a full disk does, drops the whole transaction with it.
    const QByteArray csv = "联系人,电话\n好1,1\n,\n,\n坏,2\n好2,3\n";
    const struct
    {
        RefusingTrigger::Drops drops;
        SpreadsheetImport::State state;
        QStringList stored;
        QStringList logged;
        QStringList errors;
        const char *left;
    } cases[] = {
        {RefusingTrigger::Drops::Statement,
         SpreadsheetImport::State::Finished,
         {"好1", "好2"},
         {"N3", "N4"},
         {"N5"},
         nullptr},
        {RefusingTrigger::Drops::Transaction,
         SpreadsheetImport::State::Failed,
         {"好1"},
         {"N3"},
         {},
         "还有 3 行未导入"},
    };
    for (const auto &c : cases) {
        TestHome home;
        const QString raise = c.drops == RefusingTrigger::Drops::Statement ? "statement" : "all";
        ASSERT_TRUE(
            (RefusingTrigger{"refuse", "INSERT", "ReceiverList", "NEW.联系人 = '坏'", c.drops}
                 .install(home.db())));
        Import import(home, csv, batchList());
        EXPECT_EQ(import.finish(2), c.state) << raise.toStdString();
        EXPECT_EQ(column(home, "SELECT 联系人 FROM ReceiverList ORDER BY ID"), c.stored)
            << raise.toStdString();
        EXPECT_EQ(import.run->stored(), c.stored.size()) << raise.toStdString();
        IniFile log(ImportLog::fileName(home.path()));
        EXPECT_EQ(log.keys("LOG"), c.logged) << raise.toStdString();
        EXPECT_EQ(log.keys("ERR"), c.errors) << raise.toStdString();
        EXPECT_EQ(import.run->summary().contains("未导入"), c.left != nullptr)
            << raise.toStdString();
        if (c.left) {
            EXPECT_TRUE(import.run->summary().contains(c.left))
                << import.run->summary().toStdString();
        }
    }
}
