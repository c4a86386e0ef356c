#include "ScriptedUi.h"
#include "TestHome.h"
#include "base/DataHome.h"
#include "base/DebugTrace.h"
#include "base/IniFile.h"
#include "base/RunPath.h"
#include "base/WindowSize.h"
#include "services/VendorWeb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

TEST(RunPath, ChoosesEnvironmentThenPortableFolderThenXdg)
{
    QTemporaryDir exe;
    const QString xdg = exe.path() + "/xdg";
    EXPECT_EQ(resolveRunPath("/opt/home", exe.path(), xdg), QStringLiteral("/opt/home/"));
    EXPECT_EQ(resolveRunPath({}, exe.path(), xdg), xdg + "/lanyan/");
    QDir(exe.path()).mkdir("Data");
    EXPECT_EQ(resolveRunPath({}, exe.path(), xdg), exe.path() + '/');
}

TEST(RunPath, ArchiveOrTemporaryFoldersAreRecognised)
{
    const struct
    {
        const char *dir;
        bool archive;
    } cases[] = {
        {"/home/clerk/lanyan", false},        {"/tmp/lanyan", false},
        {"/home/clerk/Temp/lanyan", true},    {"/home/clerk/Temp", true},
        {"/home/clerk/Temporary", false},     {"/media/x$/lanyan", true},
        {"C:\\Users\\a\\Temp\\rar1\\", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isRunFromArchive(c.dir), c.archive) << c.dir;
}

TEST(DataHome, PopulatesFoldersAndPicturesWithoutOverwriting)
{
    QTemporaryDir dir;
    DataHome home(dir.path());
    ASSERT_TRUE(home.populate());
    EXPECT_TRUE(home.wasFresh());
    EXPECT_TRUE(QFile::exists(home.imageDir() + "sys_bg.jpg"));
    EXPECT_TRUE(QFile::exists(home.imageDir() + "Sys_boot.jpg"));
    EXPECT_TRUE(QDir(home.tempDir()).exists());

    QFile mine(home.imageDir() + "sys_bg.jpg");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mine.write("mine");
    mine.close();
    DataHome again(dir.path());
    ASSERT_TRUE(again.populate());
    EXPECT_FALSE(again.wasFresh());
    EXPECT_EQ(QFileInfo(again.imageDir() + "sys_bg.jpg").size(), 4);
}

TEST(WindowSize, LoadLimitsToTheScreenAndDefaultsToTheCurrentSize)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("Config.ini"));
    EXPECT_EQ(WindowSize::load(ini, "frmX", {300, 200}, {1024, 768}), QSize(300, 200));
    WindowSize::save(ini, "frmX", {3000, 500});
    EXPECT_EQ(ini.readInteger("FRMX", "FormWidth", 0), 3000);
    EXPECT_EQ(WindowSize::load(ini, "FrmX", {300, 200}, {1024, 768}), QSize(1024, 500));
}

TEST(VendorWeb, PagesCarryTheProductQueryAndFollowConfigIniWhenItIsOpenedAgain)
{
    TestHome home;
    // Test homes point the vendor site at the loopback address; this one uses the default.
    home.settings().userIni().deleteKey("Online", "Host");
    VendorWeb &web = home.services().web();
    EXPECT_TRUE(web.helpPage().startsWith(
        "http://www.lanyan.example/help.asp?rail=kdd&pname=LYLQBT_CDHP&ptype=S1&ver=10.3"));

    web.BrowseURL("http://www.lan'yan.example/kdd/help/paperset.htm?x=1'");
    web.BrowseURL("http://elsewhere.example/phish");
    // The main frame opens Config.ini again as it starts; the web service must not keep the
    // object it had before (that was a read of freed memory on every help command).
    IniFile(home.services().home().configIniPath())
        .writeString("online", "host", "bills.test.example");
    home.settings().OpenUserIniFile();
    web.BrowseURL(web.upgradePage());
    ASSERT_EQ(home.ui.opened.size(), 3);
    EXPECT_EQ(home.ui.opened[0].toString(),
              QStringLiteral("http://www.lanyan.example/kdd/help/paperset.htm?x=1"));
    EXPECT_EQ(home.ui.opened[1].toString(),
              QStringLiteral("http://www.lanyan.example/?help=errorurl"));
    EXPECT_TRUE(home.ui.opened[2].toString().startsWith(
        "http://bills.test.example/update/up.asp?a=1&pname="));
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(VendorWeb, HttpsWhenConfiguredAndLinksOnlyToTheConfiguredHostAndPort)
{
    TestHome home;
    IniFile &ini = home.settings().userIni();
    ini.writeString("Online", "Host", "bills.example:8443");
    ini.writeString("Online", "Https", "yes");
    VendorWeb &web = home.services().web();
    EXPECT_TRUE(web.helpPage().startsWith("https://bills.example:8443/help.asp?"));
    EXPECT_TRUE(web.isVendorAddress(QUrl("https://BILLS.example:8443/a")));
    EXPECT_FALSE(web.isVendorAddress(QUrl("https://bills.example:9000/a")));
    EXPECT_FALSE(web.isVendorAddress(QUrl("https://bills.example.evil:8443/a")));
    EXPECT_FALSE(web.isVendorAddress(QUrl("file:///etc/passwd")));
}

TEST(AppServices, AnUnreadableConfigIniIsReportedAtStartAndLeftAlone)
{
    TestHome home;
    const QString path = home.services().home().configIniPath();
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path)); // there, but no file that can be read
    AppServices &again = home.restart();
    EXPECT_TRUE(again.startupProblem().contains(path));
    EXPECT_FALSE(again.settings().userIni().writeString("Online", "Host", "x"));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(DebugTrace, NumberedEntriesStartAtOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Debug.ini");
    DebugTrace trace(path);
    trace.DebugOutN("print", "a");
    trace.DebugOutN("print", "b");
    trace.DebugOut("plain", "c");
    IniFile ini(path);
    EXPECT_EQ(ini.readString("debug", "print-1"), QStringLiteral("a"));
    EXPECT_EQ(ini.readString("debug", "print-2"), QStringLiteral("b"));
    EXPECT_EQ(ini.readString("debug", "plain"), QStringLiteral("c"));
}
