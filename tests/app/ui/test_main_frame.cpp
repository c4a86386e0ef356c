#include "RefusingTrigger.h"
#include "TestHome.h"
#include "app/ui/Tfm_About.h"
#include "app/ui/Tfm_Main.h"
#include "app/ui/TfrmConfig.h"

#include <QCheckBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QWidget *namedForm(const QString &name)
{
    auto *w = new QWidget;
    w->setObjectName(name);
    return w;
}

} // namespace

TEST(MainFrame, CaptionMenusAndStatusBarAfterStartup)
{
    TestHome home;
    Tfm_Main frame(home.services());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("岚砚承兑汇票打印V10.3"));
    EXPECT_EQ(frame.objectName(), QStringLiteral("fm_Main"));
    EXPECT_TRUE(frame.menuItem("m_new_kdd")->isEnabled());
    EXPECT_FALSE(frame.menuItem("m_new_zp")->isEnabled());
    EXPECT_EQ(frame.menuItem("m_new_zp")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_FALSE(frame.menuItem("m_new_DJPZ")->isVisible());
    EXPECT_FALSE(frame.menuItem("N21")->isVisible());
    EXPECT_FALSE(frame.menuItem("mOrderEffect")->isVisible());
    EXPECT_EQ(frame.menuItem("SystemHelp")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(frame.findChild<QToolButton *>("btFirstUser"));
    EXPECT_TRUE(home.ui.shown.isEmpty());

    auto *bar = frame.findChild<QStatusBar *>("StatusBar");
    ASSERT_TRUE(bar);
    const QList<QLabel *> panels = bar->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), 5);
    // A screen lower than 750 pixels, as the offscreen one is, is named in the first panel.
    const bool lowScreen = frame.screen()->size().height() < 750;
    EXPECT_EQ(panels[0]->text(),
              lowScreen ? QStringLiteral("显示器分辨率太低") : QStringLiteral("系统已就绪"));
    EXPECT_EQ(panels[1]->text(), QStringLiteral("建议分辨率:1024x768以上"));
    EXPECT_EQ(panels[2]->text(), QStringLiteral("当前时间:"));
    EXPECT_EQ(panels[4]->text(), QCoreApplication::applicationFilePath());
    for (const auto &[panel, width] : {std::pair{0, 100}, {1, 150}, {2, 200}, {3, 140}, {4, 65}})
        EXPECT_EQ(panels[panel]->minimumWidth(), width) << panel;
    auto *clock = frame.findChild<QTimer *>("TimerSystem");
    ASSERT_TRUE(clock);
    EXPECT_TRUE(clock->isActive());
    EXPECT_EQ(clock->interval(), 1000);
}

TEST(MainFrame, OptionItemsStoreTheOppositeOfTheirMark)
{
    TestHome home;
    Tfm_Main frame(home.services());
    QAction *login = frame.menuItem("mNeedLogin");
    ASSERT_FALSE(login->isChecked());
    login->trigger();
    EXPECT_EQ(home.settings().getConfigByname("进入系统需验证"), QStringLiteral("yes"));
    EXPECT_TRUE(login->isChecked());
    login->trigger();
    EXPECT_EQ(home.settings().getConfigByname("进入系统需验证"), QStringLiteral("no"));
    EXPECT_FALSE(login->isChecked());

    home.settings().setConfigByname("启用默认出票人", "1");
    frame.LoadSysParam();
    EXPECT_TRUE(frame.menuItem("mUseDefaultCPR")->isChecked());
    EXPECT_TRUE(frame.UseDefaultDrawer);
    frame.menuItem("mUseDefaultCPR")->trigger();
    EXPECT_EQ(home.settings().getConfigByname("启用默认出票人"), QStringLiteral("no"));
    EXPECT_FALSE(frame.UseDefaultDrawer);
}

TEST(MainFrame, ToolBarStateSurvivesARestart)
{
    TestHome home;
    {
        Tfm_Main frame(home.services());
        frame.show();
        ASSERT_TRUE(frame.findChild<QToolBar *>("ToolBarMain")->isVisible());
        frame.menuItem("nHiddenOrShowBar")->trigger();
    }
    AppServices &again = home.restart();
    EXPECT_EQ(again.settings().userIni().readString("FM_MAIN", "TOOLBARMAIN"), QStringLiteral("0"));
    Tfm_Main frame(again);
    frame.show();
    EXPECT_FALSE(frame.findChild<QToolBar *>("ToolBarMain")->isVisible());
}

TEST(MainFrame, OnlyOneBillWindowAtATime)
{
    TestHome home;
    Tfm_Main frame(home.services());
    ASSERT_TRUE(frame.openBillWindow([] { return namedForm("fmCheckKDD"); }));
    EXPECT_FALSE(frame.openBillWindow([] { return namedForm("fmCheckCDHP"); }));
    EXPECT_EQ(home.ui.last().text, QStringLiteral("请先关闭打开的单据！"));
    EXPECT_EQ(home.ui.last().caption, QStringLiteral("提示"));
    frame.menuItem("m_new_kdd")->trigger();
    EXPECT_EQ(home.ui.shown.size(), 2);

    EXPECT_TRUE(frame.IsExistsFormName("  fmcheckkdd "));
    EXPECT_FALSE(frame.IsExistsFormName("fmCheckCDHP"));

    frame.menuItem("m_CloseALL")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.openBillWindow([] { return namedForm("fmCheckCDHP"); }));
}

TEST(MainFrame, WindowSizeMemoryOnlyInTheNormalState)
{
    TestHome home;
    Tfm_Main frame(home.services());
    QWidget dialog;
    dialog.setObjectName("frmSample");
    dialog.resize(300, 200);
    home.settings().userIni().writeInteger("FRMSAMPLE", "FormWidth", 100000);
    home.settings().userIni().writeInteger("FRMSAMPLE", "FormHeight", 250);
    frame.FormFaceLoad(dialog);
    EXPECT_LT(dialog.width(), 100000);
    EXPECT_EQ(dialog.height(), 250);

    dialog.setWindowState(Qt::WindowMaximized);
    home.settings().userIni().writeInteger("FRMSAMPLE", "FormWidth", 1);
    frame.FormFaceSave(dialog);
    EXPECT_EQ(home.settings().userIni().readInteger("FRMSAMPLE", "FormWidth", 0), 1);
}

TEST(MainFrame, ExitAsksFirst)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    home.ui.answer(Ui::Answer::No);
    EXPECT_FALSE(frame.exitWithConfirmation());
    EXPECT_EQ(home.ui.last().text, QStringLiteral("真的要退出【岚砚票据打印】系统吗？"));
    EXPECT_EQ(home.ui.last().caption, QStringLiteral("确认"));
    EXPECT_TRUE(frame.isVisible());
}

TEST(MainFrame, AlertWithEmptyCaptionShowsNothing)
{
    ScriptedUi ui;
    ui.answer(Ui::Answer::Yes);
    EXPECT_FALSE(ui.alert("text", "", true));
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_TRUE(ui.alert("text", "确认", true));
    EXPECT_FALSE(ui.alert("text", "提示"));
    EXPECT_EQ(ui.shown.size(), 2);
}

TEST(MainFrame, VendorPagesOpenThroughTheBrowser)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.menuItem("SystemHelp")->trigger();
    frame.menuItem("N8")->trigger();
    ASSERT_EQ(home.ui.opened.size(), 2);
    EXPECT_TRUE(home.ui.opened[0].toString().contains("/help.asp?rail=kdd&pname=LYLQBT_CDHP"));
    EXPECT_TRUE(home.ui.opened[1].toString().contains("/kdd/help/paperset.htm?pname=LYLQBT_CDHP"));
}

TEST(MainFrame, StartFromAnArchiveWarnsAndEndsTheProgram)
{
    TestHome home;
    Tfm_Main frame(home.services());
    EXPECT_FALSE(frame.quitRequested());
    frame.checkRunFolder("/home/clerk/Temp/rar1");
    EXPECT_TRUE(home.ui.last().text.startsWith("请不要从压缩包中直接运行软件"));
    // Start-up asks this instead of starting the event loop; a posted quit used to be lost.
    EXPECT_TRUE(frame.quitRequested());
}

TEST(SystemOptions, ReadsMissingRowsAsCheckedAndSavesEveryBox)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    q.exec("delete from configtable where cname = '客户随使用频度自动排序'");
    ASSERT_TRUE(home.settings().setConfigByname("打印前弹出打印机设置", "1").isEmpty());
    TfrmConfig dialog(home.services());
    EXPECT_EQ(home.ui.last().text, QStringLiteral("参数不存在(客户随使用频度自动排序)！"));
    auto *login = dialog.findChild<QCheckBox *>("ckNeedLogin");
    auto *popSetup = dialog.findChild<QCheckBox *>("ckPrintConfig");
    EXPECT_FALSE(login->isChecked());
    EXPECT_TRUE(dialog.findChild<QCheckBox *>("ckAutoOrderClient")->isChecked());
    EXPECT_TRUE(popSetup->isChecked());
    login->setChecked(true);
    popSetup->setChecked(false);
    QTest::mouseClick(dialog.findChild<QPushButton *>("btSave"), Qt::LeftButton);
    EXPECT_EQ(home.ui.last().text, QStringLiteral("设置保存成功！"));
    EXPECT_EQ(home.settings().getConfigByname("进入系统需验证"), QStringLiteral("yes"));
    // The missing row is stored rather than dropped behind the success message.
    EXPECT_EQ(home.settings().getConfigByname("客户随使用频度自动排序"), QStringLiteral("yes"));
}

TEST(SystemOptions, FailedWriteStoresNothingAndSaysSo)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("update configtable set cvalue = 'no' where cname in "
                       "('进入系统需验证', '打印前弹出打印机设置')"));
    // The last of the three writes fails: the first must be rolled back.
    ASSERT_TRUE((RefusingTrigger{"no_print_config", "UPDATE", "configtable",
                                 "OLD.cname = '打印前弹出打印机设置'",
                                 RefusingTrigger::Drops::Statement, "disk I/O error"}
                     .install(home.db())));
    TfrmConfig dialog(home.services());
    bool reloaded = false;
    QObject::connect(&dialog, &TfrmConfig::saved, [&] { reloaded = true; });
    dialog.findChild<QCheckBox *>("ckNeedLogin")->setChecked(true);
    dialog.findChild<QCheckBox *>("ckPrintConfig")->setChecked(true);
    QTest::mouseClick(dialog.findChild<QPushButton *>("btSave"), Qt::LeftButton);
    EXPECT_TRUE(home.ui.last().text.startsWith("设置保存失败！"));
    EXPECT_TRUE(home.ui.last().text.contains("disk I/O error"));
    EXPECT_FALSE(home.ui.texts().contains("设置保存成功！"));
    EXPECT_FALSE(reloaded);
    EXPECT_EQ(home.settings().getConfigByname("进入系统需验证"), QStringLiteral("no"));
}

TEST(AboutBox, ClosesOnAClick)
{
    Tfm_About about("10.3");
    about.show();
    QTest::mouseClick(&about, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}
