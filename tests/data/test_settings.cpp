#include "TestHome.h"

#include <QSqlQuery>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

int rowsNamed(Database &db, const QString &name)
{
    QSqlQuery q = db.query();
    q.prepare("select count(*) from configtable where trim(cname) = :n");
    q.bindValue(":n", name);
    q.exec();
    q.next();
    return q.value(0).toInt();
}

} // namespace

TEST(Settings, OnMeansExactlyOneOrYes)
{
    for (const char *on : {"1", "yes"})
        EXPECT_TRUE(Settings::isOn(on)) << on;
    for (const char *off : {"", "no", "0", "YES", " yes", "true"})
        EXPECT_FALSE(Settings::isOn(off)) << off;
}

TEST(Settings, FreshDatabaseHoldsEveryGlobalKeyAtItsDefault)
{
    TestHome home;
    Settings &s = home.settings();
    for (const char *key : {"进入系统需验证", "客户随使用频度自动排序", "打印前弹出打印机设置",
                            "客户资料保存前补充完整", "启用默认出票人"}) {
        ASSERT_TRUE(s.findConfig(QString::fromUtf8(key))) << key;
        EXPECT_EQ(s.getConfigByname(QString::fromUtf8(key)), QStringLiteral("no"));
    }
    for (const char *key :
         {"单位下拉框区分收、发件人", "DefaultPrinter", "version", "MS EXCEL FIRST", "ckOrderIDOn",
          "ckMemeberIDOn", "ckRemark", "ckWPNR", "checkContainSS"})
        EXPECT_TRUE(s.findConfig(QString::fromUtf8(key))) << key;
    EXPECT_TRUE(s.getConfigByname("no such key").isEmpty());
}

TEST(Settings, TrimmedNameIsReadButNotUpdated)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("insert into configtable (cname, cvalue) values ('  padded ', 'old')"));
    EXPECT_EQ(home.settings().getConfigByname("padded"), QStringLiteral("old"));

    EXPECT_TRUE(home.settings().setConfigByname("padded", "new").isEmpty());
    EXPECT_EQ(rowsNamed(home.db(), "padded"), 2);
}

TEST(Settings, QuotesInValuesAndNamesAreJustCharacters)
{
    TestHome home;
    Settings &s = home.settings();
    const QString before = s.getConfigByname("进入系统需验证");
    ASSERT_TRUE(s.setConfigByname("O'Brien's key", "it's'; delete from configtable; --").isEmpty());
    EXPECT_EQ(s.getConfigByname("O'Brien's key"),
              QStringLiteral("it's'; delete from configtable; --"));
    ASSERT_TRUE(s.setConfigByname("O'Brien's key", "v2").isEmpty());
    EXPECT_EQ(rowsNamed(home.db(), "O'Brien's key"), 1);
    EXPECT_EQ(s.getConfigByname("进入系统需验证"), before);
}

TEST(Settings, TemplateSettingMatchesNameWithoutCaseAndStoresNewNamesUnchanged)
{
    TestHome home;
    Settings &s = home.settings();
    ASSERT_TRUE(s.setCheckConfigByName(7, "cfgWantPrintRQ", "0"));
    ASSERT_TRUE(s.setCheckConfigByName(7, "CFGWANTPRINTRQ", "1"));
    ASSERT_TRUE(s.setCheckConfigByName(8, "cfgWantPrintRQ", "0"));

    QSqlQuery q = home.db().query();
    q.exec(
        "select DMName, DMValue, CheckTypeID from DMTable where upper(DMName) = 'CFGWANTPRINTRQ' "
        "and CheckTypeID in (7, 8) order by CheckTypeID");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("cfgWantPrintRQ"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("1"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(2).toInt(), 8);
    EXPECT_FALSE(q.next());
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(Settings, TemplateSettingFailureIsReported)
{
    TestHome home;
    home.db().close();
    EXPECT_FALSE(home.settings().setCheckConfigByName(1, "cfgX", "1"));
    ASSERT_EQ(home.ui.shown.size(), 1);
    EXPECT_TRUE(home.ui.last().text.startsWith(QStringLiteral("cfgX设置模板参数错误:")));
}

TEST(Settings, LayoutCacheReadsCheckConfigSection)
{
    TestHome home;
    IniFile cache(home.path() + "cache.ini");
    cache.writeString("CheckConfig", "cfgJEDXFormat", QStringLiteral("打印小写金额"));
    EXPECT_EQ(Settings::getInifCheckConfigByName(&cache, "CFGJEDXFORMAT"),
              QStringLiteral("打印小写金额"));
    EXPECT_TRUE(Settings::getInifCheckConfigByName(nullptr, "cfgJEDXFormat").isEmpty());
}

TEST(Settings, ConfigIniSurvivesARestart)
{
    TestHome home;
    home.settings().setINIConfigByname("KDDView_DBLOPEN", "1");
    AppServices &again = home.restart();
    EXPECT_EQ(again.settings().getINIConfigByname("kddview_dblopen"), QStringLiteral("1"));
}

TEST(Settings, ConfigIniOpenedAgainIsTheFileEveryServiceHolds)
{
    TestHome home;
    IniFile &held = home.settings().userIni();
    // Changed behind the program's back; the frame opens it again when it starts.
    IniFile(held.path()).writeString("Online", "Host", "bills.test.example");
    ASSERT_EQ(&home.settings().OpenUserIniFile(), &held);
    EXPECT_EQ(held.readString("online", "host"), QStringLiteral("bills.test.example"));
    EXPECT_TRUE(home.services().web().helpPage().startsWith("http://bills.test.example/"));
}

// The disk fills up just as the transaction commits: the write-ahead log cannot grow.
TEST(Settings, FailedCommitNamesTheDatabasesOwnError)
{
    SKIP_ON_SERVER("its full disk");
    TestHome home;
    Settings &s = home.settings();
    const QString before = s.getConfigByname("启用默认出票人");
    QString error;
    {
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit none = saved;
        none.rlim_cur = 0;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
        error = s.setConfigsByname({{"启用默认出票人", "yes"}, {"进入系统需验证", "yes"}});
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(error.contains("rollback", Qt::CaseInsensitive)) << error.toStdString();
    EXPECT_TRUE(error.contains("disk", Qt::CaseInsensitive)) << error.toStdString();
    EXPECT_EQ(s.getConfigByname("启用默认出票人"), before);
    EXPECT_TRUE(s.setConfigsByname({{"启用默认出票人", "yes"}}).isEmpty());
}
