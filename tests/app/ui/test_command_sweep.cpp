#include "CommandSweep.h"
#include "LocalService.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/PrintServiceTray.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "print/PrintEngine.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>

using namespace sweep;

namespace {

// One command of the frame: a menu item or a tool bar button by object name, what is done
// before it, and what a user sees afterwards.
struct Command
{
    const char *name;
    Effect effect;
    std::function<void()> before = {};
};

// The frame on a seeded home, shown; prints go to a recording device, and programs the
// commands start (screen lock, calculator) are not found, so they say so instead.
struct SweptFrame
{
    QTemporaryDir noPrograms;
    QByteArray path = qgetenv("PATH");
    TestHome home;
    RecordingPrintDevice *device = nullptr;
    std::unique_ptr<Tfm_Main> frame;

    SweptFrame()
    {
        qputenv("PATH", noPrograms.path().toLocal8Bit());
        frame = sweep::shownFrame(home, device);
    }
    ~SweptFrame()
    {
        frame.reset();
        qputenv("PATH", path);
    }

    QWidget *child(const char *name) const { return frame->findChild<QWidget *>(name); }
    // A bill form shown inside the frame.
    bool formShown(QWidget *form) const
    {
        return form && form->isVisible() && form->window() == frame.get();
    }
    void closeForms()
    {
        frame->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool optionStored(const char *item, const char *key)
    {
        return frame->menuItem(item)->isChecked() &&
               home.settings().getConfigByname(QString::fromUtf8(key)) == u"yes";
    }
};

} // namespace

TEST(CommandSweep, EveryMenuItemAndToolButtonOfTheFrameShowsWhatItNames)
{
    SweptFrame f;
    Tfm_Main &frame = *f.frame;
    bool before = false;
    int setups = 0;
    auto remember = [&](const char *name) {
        return [&f, &before, name] { before = f.child(name)->isVisible(); };
    };
    auto flipped = [&](const char *name) {
        return [&f, &before, name] { return f.child(name)->isVisible() != before; };
    };
    auto openSlip = [&] { frame.menuItem("m_new_kdd")->trigger(); };
    auto setupShown = [&] { return f.device->count("setup") > setups; };
    auto countSetups = [&] { setups = f.device->count("setup"); };
    const auto kdd = state([&] { return f.formShown(TfmCheckKDD::instance()); });
    const auto cdhp = state([&] { return f.formShown(TfmCheckCDHP::instance()); });
    const Effect exitQuestion = message(QStringLiteral("真的要退出【岚砚票据打印】系统吗？"));

    const std::vector<Command> commands = {
        // 新票据填开
        {"m_new_zp", disabled()},
        {"m_new_jzd", disabled()},
        {"m_new_dhd", disabled()},
        {"m_new_JKD", disabled()},
        {"m_new_cdhp", cdhp},
        {"m_new_JWH", disabled()},
        {"m_new_Receipts", disabled()},
        {"m_new_CKSP", disabled()},
        {"m_new_IVIntel", disabled()},
        {"m_new_kdd", kdd},
        {"m_multi_kdd", message(QStringLiteral("没有填开单据，打印什么呢？"))},
        {"m_multi_kdd", modal("TfrmMutiPrint"), openSlip},
        {"m_new_DJPZ", hidden()},
        {"m_new_hp", hidden()},
        {"N13", hidden()},
        {"m_CloseALL", state([&] { return frame.mdiArea()->subWindowList().isEmpty(); }), openSlip},
        // 历史开票管理
        {"mZPSearch", disabled()},
        {"mJZDSearch", disabled()},
        {"mDHDSearch", disabled()},
        {"mCDHPSearch", window("TfmSearch_CDHP")},
        {"m_search_JWH", disabled()},
        {"mJKDSearch", disabled()},
        {"mKDDSearch", window("TfmSearch_KDD")},
        {"mReceiptSearch", disabled()},
        {"mSearch_IVIntel", disabled()},
        {"mSearch_CKSP", disabled()},
        // 打印设置
        {"mTemplateProperty", modal("TfrmPrintOffset")},
        {"mPrintScale", modal("TfrmPrintScale")},
        {"mLockPrinter", modal("TfmLockPrinter")},
        {"PrinterConfig", state(setupShown), countSetups},
        {"N8", url()},
        {"mPrintService", state([&] { return frame.printService()->process().isRunning(); }),
         [&] {
             f.home.settings().setConfigByname(QStringLiteral("ServicePort"),
                                               QString::number(LocalService::freePort()));
             frame.printService()->process().setProgram(LocalService::programPath());
         }},
        // 系统管理
        {"PersonalInfoManage", modal("Tfm_PersonManage")},
        {"nDesign", modal("TfmCheckDesign")},
        {"nImpExp", modal("TfrmBillImportExport")},
        {"nTempManage", modal("TfrmCheckTypeMng")},
        {"mDatabaseUpgrade", modal("TfrmUp2NewVersion")},
        {"BaseSet", modal("Tfm_DMConfig")},
        {"N21", hidden()},
        {"MenuSsSet", modal("TfrmSsSet")},
        {"N23", modal("TfrmUserManage")},
        {"nHiddenOrShowBar", state(flipped("ToolBarMain")), remember("ToolBarMain")},
        // Once more, so that the tool bar's own rows below find it shown.
        {"nHiddenOrShowBar", state(flipped("ToolBarMain")), remember("ToolBarMain")},
        // 工具
        {"updates", url()},
        {"N10", state(flipped("panalAd")), remember("panalAd")},
        {"mResetTemps", message(QStringLiteral("缓存清除成功！"))},
        {"N1", message()},
        {"mMoveDatabase", modal("TfrmDatabaseMove")},
        {"mLockDeskTop", message(QStringLiteral("无法锁定屏幕"))},
        {"mPopPrint", state([&] { return f.optionStored("mPopPrint", "打印前弹出打印机设置"); })},
        {"mNeedLogin", state([&] { return f.optionStored("mNeedLogin", "进入系统需验证"); })},
        {"mOrderEffect", hidden()},
        {"mSaveAfterPop", hidden()},
        {"nClearWeight", hidden()},
        {"mUseDefaultCPR", state([&] {
             return f.optionStored("mUseDefaultCPR", "启用默认出票人") && frame.UseDefaultDrawer;
         })},
        {"mSystemOptions", modal("TfrmConfig")},
        {"N7", url()},
        {"CallCounter", message(QStringLiteral("系统计算器调用失败"))},
        // 帮助
        {"N9281", hidden()},
        {"AboutSystem", modal("Tfm_About")},
        {"SystemHelp", url()},
        {"mRestartMe", message(QStringLiteral("确定要重开软件吗?"))},
        {"ExitSystem", exitQuestion},
        // The picture area's own menu.
        {"nCDHP", cdhp},
        {"nRightZP", disabled()},
        {"nRightJZD", disabled()},
        {"nRightDHD", disabled()},
        {"nRightJKD", disabled()},
        {"nJWH", disabled()},
        {"N5", kdd},
        {"n_freash", state([&] { return !frame.mdiArea()->hasPicture(); }),
         [&] {
             EXPECT_TRUE(frame.mdiArea()->hasPicture());
             QFile::remove(f.home.path() + "Image/sys_bg.jpg");
         }},
        {"N15", url()},
        // Tool bar.
        {"ToolButton4", popup("nBankCheck")},
        {"ToolButton7", modal("Tfm_PersonManage")},
        {"ToolButton9", modal("Tfm_DMConfig")},
        {"ToolButton2", modal("TfrmCheckTypeMng")},
        {"ToolButton15", modal("TfrmBillImportExport")},
        {"ToolButton5", state(setupShown), countSetups},
        {"btFirstUser", state(flipped("MemoFirstRead")), remember("MemoFirstRead")},
        {"ToolButton6", exitQuestion},
    };

    // Every item a user reaches has its row: a new one without a row fails here.
    QList<QAction *> actions;
    for (QAction *top : frame.menuBar()->actions())
        top->menu() ? collectActions(top->menu(), actions) : void(actions << top);
    collectActions(frame.findChild<QMenu *>("PopupMenu1"), actions);
    std::set<QString> named;
    for (const Command &c : commands)
        named.insert(QString::fromLatin1(c.name));
    for (QAction *a : actions) {
        if (a->objectName().isEmpty()) {
            EXPECT_FALSE(a->isEnabled())
                << "an unnamed item does something: " << a->text().toStdString();
        } else {
            EXPECT_TRUE(named.count(a->objectName()))
                << "no row for " << a->objectName().toStdString();
        }
    }
    for (QToolButton *b :
         frame.findChild<QToolBar *>("ToolBarMain")->findChildren<QToolButton *>()) {
        if (!b->objectName().isEmpty() && !b->objectName().startsWith("qt_")) {
            EXPECT_TRUE(named.count(b->objectName()))
                << "no row for " << b->objectName().toStdString();
        }
    }

    for (const Command &c : commands) {
        f.closeForms();
        const std::string name = c.name;
        QAction *action = frame.menuItem(QString::fromLatin1(c.name));
        auto *button = frame.findChild<QToolButton *>(QString::fromLatin1(c.name));
        ASSERT_TRUE(action || button) << name;
        if (c.effect.kind == Effect::Kind::Disabled) {
            EXPECT_FALSE(action->isEnabled()) << name;
            continue;
        }
        if (c.effect.kind == Effect::Kind::Hidden) {
            EXPECT_FALSE(action->isVisible()) << name;
            continue;
        }
        if (c.before)
            c.before();
        if (button) {
            ASSERT_TRUE(button->isVisible() && button->isEnabled()) << name;
            expectEffect(name, f.home.ui, c.effect,
                         [&] { QTest::mouseClick(button, Qt::LeftButton); });
        } else {
            ASSERT_TRUE(action->isEnabled() && action->isVisible()) << name;
            expectEffect(name, f.home.ui, c.effect, [&] { action->trigger(); });
        }
        // A question answered No leaves the frame as it was.
        EXPECT_TRUE(frame.isVisible()) << name;
    }
}
