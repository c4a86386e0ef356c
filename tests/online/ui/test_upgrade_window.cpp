#include "../../templates/PackageFile.h"
#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckKDD.h"
#include "online/DatabaseUpgrade.h"
#include "online/ui/TfrmUp2NewVersion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An older installation: its program and its database, whose template 1 holds the sender
// twice (the names differ in case only) and places both parties elsewhere than ours.
QString writeOlderInstallation(const QString &folder)
{
    const QString program = folder + "岚砚快递打印V927.exe";
    write(program, "MZ");
    QDir().mkpath(folder + "Data");
    PackageFile db(DatabaseUpgrade::olderDatabasePath(folder));
    for (const QString &table : DatabaseUpgrade::tables())
        db.exec("create table " + table + " (dummy TEXT)");
    db.exec("drop table ckTypeTable");
    db.exec("create table ckTypeTable (CheckTypeID INTEGER, TypeName TEXT, TypeFirstName TEXT, "
            "TypeDescribe TEXT, IsDefault TEXT, Visiable TEXT, ImgFile TEXT, TWidth INTEGER, "
            "THeight INTEGER)");
    db.exec("insert into ckTypeTable values (1, '快递单（老模板）', '快递单', '老模板', '默认', "
            "'启用', 'kdd_feiyan.jpg', 805, 445)");
    db.exec("drop table CKControl");
    db.exec("create table CKControl (CheckTypeID INTEGER, CtlName TEXT, SrcX INTEGER, SrcY "
            "INTEGER, SrcW INTEGER, SrcH INTEGER, NeedShow INTEGER, NeedPrint INTEGER)");
    db.exec("insert into CKControl values (1, 'zdSKR', 123, 45, 200, 20, 1, 1), "
            "(1, 'ZDSKR', 999, 99, 200, 20, 1, 1), (1, 'ZDHKR', 300, 210, 180, 20, 1, 1)");
    return program;
}

} // namespace

TEST(UpgradeWindow, ChecksTheOlderInstallationAndRefusesWhatIsNoAccessFile)
{
    TestHome home;
    TfrmUp2NewVersion window(home.services());
    EXPECT_FALSE(window.checkEnvironment());
    EXPECT_EQ(home.ui.last().text,
              "请选择岚砚快递打印软件的主运行程序(例如:D:/岚砚打印/岚砚V927.exe)~");
    window.setProgramFile(home.path() + "old/none.exe");
    EXPECT_FALSE(window.checkEnvironment());
    EXPECT_EQ(home.ui.last().text, "主程序文件无效~");

    const QString program = home.path() + "old/岚砚快递打印V927.exe";
    write(program, "MZ");
    write(home.path() + "old/Data/EPData.ini", "[not a database]");
    window.setProgramFile(program);
    EXPECT_FALSE(window.checkEnvironment());
    EXPECT_EQ(home.ui.last().text, "主程序数据文件无效，请重新选择符合完整的主程序文件~");

    const QString before = [&] {
        QSqlQuery q = home.db().query();
        q.exec("select count(*) from ckTypeTable");
        q.next();
        return q.value(0).toString();
    }();
    window.startUpgrade();
    EXPECT_TRUE(home.ui.last().text.startsWith("升级失败，岚砚意料外错误:"));
    EXPECT_TRUE(window.findChild<QPushButton *>("btStartUpdate")->isEnabled());
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select count(*) from ckTypeTable") && q.next());
    EXPECT_EQ(q.value(0).toString(), before);
}

TEST(UpgradeWindow, SecondRunStopsAtOnce)
{
    TestHome home;
    home.settings().updateConfig("version", home.services().appVersion());
    TfrmUp2NewVersion window(home.services());
    window.startUpgrade();
    EXPECT_EQ(home.ui.last().text, "当前软件已经是V9.28，无需再升级！");
    EXPECT_FALSE(window.findChild<QPushButton *>("btStartUpdate")->isEnabled());
}

// 系统管理 offers the upgrade, and the hidden Help item still opens it: both show the window
// with this program preset.
TEST(UpgradeWindow, OpensFromTheSystemMenuAndTheHiddenHelpItem)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    QApplication::setActiveWindow(&frame);
    QMenu *system = nullptr;
    for (QAction *a : frame.menuBar()->actions())
        if (a->objectName() == "N12")
            system = a->menu();
    ASSERT_TRUE(system);
    QAction *item = frame.menuItem("mDatabaseUpgrade");
    ASSERT_TRUE(item);
    EXPECT_TRUE(system->actions().contains(item));
    EXPECT_TRUE(item->isVisible());
    for (const char *name : {"mDatabaseUpgrade", "N9281"}) {
        bool seen = false;
        NextModal answer([&](QWidget *modal) {
            ASSERT_TRUE(qobject_cast<TfrmUp2NewVersion *>(modal)) << name;
            seen = true;
            EXPECT_TRUE(modal->isVisible());
            EXPECT_EQ(modal->findChild<QComboBox *>("cbAppFile")->currentText(),
                      QCoreApplication::applicationFilePath());
            modal->findChild<QPushButton *>("BitBtn4")->click();
        });
        frame.menuItem(name)->trigger();
        EXPECT_TRUE(seen) << name;
    }
}

// The clerk points the window at an older installation whose database holds an item twice:
// the upgrade goes through, says what it merged, and the express slip form opened afterwards
// lays its fields out from what was taken over, not from the cache built before.
TEST(UpgradeWindow, TakesAnOlderInstallationOverAndTheFormFollowsIt)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    QApplication::setActiveWindow(&frame);
    frame.menuItem("m_new_kdd")->trigger();
    ASSERT_TRUE(TfmCheckKDD::instance());
    EXPECT_EQ(TfmCheckKDD::instance()->field("zdHKR")->pos(), QPoint(98, 99)); // shipped
    frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    ASSERT_FALSE(TfmCheckKDD::instance());

    home.ui.answerFile(writeOlderInstallation(home.path() + "old/"));
    NextModal answer([&](QWidget *modal) {
        ASSERT_TRUE(qobject_cast<TfrmUp2NewVersion *>(modal));
        QTest::mouseClick(modal->findChild<QPushButton *>("btBrowse"), Qt::LeftButton);
        QTest::mouseClick(modal->findChild<QPushButton *>("btEnvTest"), Qt::LeftButton);
        EXPECT_EQ(home.ui.last().text, "环境OK，可以升级~");
        QTest::mouseClick(modal->findChild<QPushButton *>("btStartUpdate"), Qt::LeftButton);
        EXPECT_FALSE(modal->isVisible()); // done: the window closes itself
    });
    frame.menuItem("mDatabaseUpgrade")->trigger();
    ASSERT_TRUE(answer.answered());
    const QString summary = home.ui.last().text;
    EXPECT_TRUE(summary.startsWith("恭喜，升级成功啦！")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("CKControl：2 行")) << summary.toStdString();
    EXPECT_TRUE(
        summary.contains("老数据库中重复的打印项目已合并（保留第一条）：\n模板 1 的项目 ZDSKR"))
        << summary.toStdString();

    frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->field("zdSKR")->geometry(), QRect(123, 45, 200, 20)); // the first row
    EXPECT_EQ(form->field("zdHKR")->geometry(), QRect(300, 210, 180, 20));
}

// Our own database is never taken as the older one: the upgrade empties our tables first.
TEST(UpgradeWindow, RefusesToTakeOverItsOwnDatabase)
{
    SKIP_ON_SERVER("the data home's own file, which a server home does not have");
    TestHome home;
    const QString program = home.path() + "lanyan";
    write(program, "ELF");
    TfrmUp2NewVersion window(home.services());
    window.setProgramFile(program);
    EXPECT_FALSE(window.checkEnvironment());
    EXPECT_EQ(home.ui.last().text, "所选的是本程序正在使用的数据库，请选择老版本的主运行程序~");
    const QString before = [&] {
        QSqlQuery q = home.db().query();
        return q.exec("select count(*) from CKControl") && q.next() ? q.value(0).toString() : "";
    }();
    QTest::mouseClick(window.findChild<QPushButton *>("btStartUpdate"), Qt::LeftButton);
    EXPECT_TRUE(home.ui.last().text.startsWith("升级失败，岚砚意料外错误:"));
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select count(*) from CKControl") && q.next());
    EXPECT_EQ(q.value(0).toString(), before);
}
