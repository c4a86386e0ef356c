#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "online/ui/TfrmUp2NewVersion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
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
