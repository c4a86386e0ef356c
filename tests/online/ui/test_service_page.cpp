#include "../LocalSite.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "base/IniFile.h"
#include "online/ServiceCheck.h"

#include <QCoreApplication>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

// The check starts on the frame's second tick and is gone once it answered. The limit only
// guards against a hang: a loaded machine may take its time.
void runUntilTheCheckAnswered(Tfm_Main &frame)
{
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return frame.ClockTicks >= 2 && !frame.findChild<ServiceCheck *>(); }, 60000));
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
    runUntilTheCheckAnswered(frame);
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
    runUntilTheCheckAnswered(frame);
    const auto *view = frame.findChild<QTextBrowser *>("webAd");
    EXPECT_TRUE(!view || view->isHidden());
    EXPECT_EQ(home.ui.shown.size(), shown);
}
