#include "LocalService.h"
#include "TestHome.h"
#include "app/ui/PrintServiceTray.h"
#include "app/ui/Tfm_Main.h"
#include "data/Settings.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// The main frame's "本机打印服务" starts the real service program beside the windows, which
// answers a shop system's calls with the data home's token, and stops it again.

namespace {

// Clicks the item in the frame's "打印设置(&P)" menu, as the clerk does.
void clickMenuItem(Tfm_Main &frame, const char *name)
{
    QAction *item = frame.menuItem(QString::fromLatin1(name));
    ASSERT_TRUE(item && item->isEnabled() && item->isVisible()) << name;
    const auto menus = frame.menuBar()->findChildren<QMenu *>();
    const auto menu = std::find_if(menus.begin(), menus.end(),
                                   [item](QMenu *m) { return m->actions().contains(item); });
    ASSERT_NE(menu, menus.end()) << name;
    (*menu)->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(*menu));
    QTest::mouseClick(*menu, Qt::LeftButton, {}, (*menu)->actionGeometry(item).center());
}

struct TrayFixture
{
    TestHome home;
    quint16 port = LocalService::freePort();
    std::unique_ptr<Tfm_Main> frame;

    TrayFixture()
    {
        home.services().settings().setConfigByname(QStringLiteral("ServicePort"),
                                                   QString::number(port));
        openFrame();
    }
    void openFrame()
    {
        frame = std::make_unique<Tfm_Main>(home.services());
        frame->findChild<QTimer *>("TimerSystem")->stop();
        frame->printService()->process().setProgram(LocalService::programPath());
        frame->show();
    }
    PrintServiceProcess &process() { return frame->printService()->process(); }
    QString setting()
    {
        return home.services().settings().getINIConfigByname(
            QString::fromLatin1(PrintServiceTray::kSettingKey));
    }
    int templatesStatus()
    {
        QFile tokenFile(home.path() + u"Data/ServiceToken");
        EXPECT_TRUE(tokenFile.open(QIODevice::ReadOnly));
        QNetworkAccessManager network;
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/templates").arg(port)));
        request.setRawHeader("Authorization", "Bearer " + tokenFile.readAll().trimmed());
        QNetworkReply *reply = network.get(request);
        // A guard against a hang, far beyond what the answer takes.
        EXPECT_TRUE(QTest::qWaitFor([reply] { return reply->isFinished(); }, 60000));
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        reply->deleteLater();
        return status;
    }
};

} // namespace

TEST(PrintServiceTray, TheMenuItemStartsTheServiceAndStopsItAgain)
{
    TrayFixture f;
    QAction *item = f.frame->menuItem(QStringLiteral("mPrintService"));
    ASSERT_FALSE(item->isChecked());
    QSignalSpy listening(&f.process(), &PrintServiceProcess::listening);
    clickMenuItem(*f.frame, "mPrintService");
    ASSERT_TRUE(listening.wait(60000)) << "the service never answered";
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(f.templatesStatus(), 200);
    EXPECT_TRUE(f.frame->printService()->trayIcon()->toolTip().contains(
        QStringLiteral("127.0.0.1:%1").arg(f.port)));
    EXPECT_EQ(f.setting(), QStringLiteral("1"));

    // The choice survives a restart of the windows: the service comes back with them.
    f.frame.reset();
    f.openFrame();
    QSignalSpy back(&f.process(), &PrintServiceProcess::listening);
    ASSERT_TRUE(back.wait(60000));
    EXPECT_TRUE(f.frame->menuItem(QStringLiteral("mPrintService"))->isChecked());

    QSignalSpy stopped(&f.process(), &PrintServiceProcess::stopped);
    clickMenuItem(*f.frame, "mPrintService");
    ASSERT_TRUE(stopped.wait(60000));
    EXPECT_TRUE(stopped.first().first().toString().isEmpty()) << "asked to stop, not failed";
    EXPECT_FALSE(f.frame->printService()->trayIcon()->isVisible());
    EXPECT_EQ(f.setting(), QStringLiteral("0"));
    EXPECT_TRUE(f.home.ui.shown.isEmpty());
}

TEST(PrintServiceTray, APortInUseIsToldAndTheItemUnchecked)
{
    TrayFixture f;
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, f.port));
    QSignalSpy stopped(&f.process(), &PrintServiceProcess::stopped);
    clickMenuItem(*f.frame, "mPrintService");
    ASSERT_TRUE(stopped.wait(60000));
    EXPECT_FALSE(f.frame->menuItem(QStringLiteral("mPrintService"))->isChecked());
    ASSERT_FALSE(f.home.ui.shown.isEmpty());
    EXPECT_TRUE(f.home.ui.last().text.contains(QStringLiteral("端口已被占用")))
        << f.home.ui.last().text.toStdString();
    EXPECT_EQ(f.setting(), QStringLiteral("0"));
}
