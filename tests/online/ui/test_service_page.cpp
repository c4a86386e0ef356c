#include "../LocalSite.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "base/IniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

// Runs the frame's clock past its second tick and the check's answer.
void runClock(Tfm_Main &frame, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_GE(frame.ClockTicks, 2);
}

void pointAt(TestHome &home, const QString &host)
{
    home.settings().userIni().writeString("Online", "Host", host);
    home.settings().userIni().flush();
}

} // namespace

TEST(ServicePage, ShownInTheSidePanelWhenTheSiteAnswers)
{
    TestHome home;
    LocalSite site;
    site.pages["/webapp.css"] = "site=" + site.host().toUtf8();
    site.pages["/agent/ServiceLYN.asp"] = QString("<b>服务中心</b>").toUtf8();
    pointAt(home, site.host());
    Tfm_Main frame(home.services());
    frame.resize(1200, 700);
    frame.show();
    runClock(frame, 3000);
    auto *view = frame.findChild<QTextBrowser *>("webAd");
    ASSERT_TRUE(view);
    EXPECT_FALSE(view->isHidden()); // the panel itself hides on a narrow screen
    EXPECT_TRUE(view->toPlainText().contains("服务中心"));
}

TEST(ServicePage, UnreachableSiteKeepsTheViewHiddenAndSaysNothing)
{
    TestHome home; // its site is a closed loopback port
    Tfm_Main frame(home.services());
    frame.show();
    const qsizetype shown = home.ui.shown.size();
    runClock(frame, 2600);
    const auto *view = frame.findChild<QTextBrowser *>("webAd");
    EXPECT_TRUE(!view || view->isHidden());
    EXPECT_EQ(home.ui.shown.size(), shown);
}
