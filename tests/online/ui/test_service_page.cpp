#include "../LocalSite.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "base/IniFile.h"
#include "online/ServiceCheck.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The check starts on the frame's second tick and is gone once it answered. The limit only
// guards against a hang: a loaded machine may take its time.
void runUntilTheCheckAnswered(Tfm_Main &frame)
{
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return frame.ClockTicks >= 2 && !frame.findChild<ServiceCheck *>(); }, 60000));
}

// Processes events until `done`; the deadline only guards against a hang.
bool waitFor(const std::function<bool()> &done)
{
    QDeadlineTimer guard(20000);
    while (!done() && !guard.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// Clicks the link whose text is `text`, where a user would.
void clickLink(QTextBrowser *view, const QString &text)
{
    const QTextCursor found = view->document()->find(text);
    ASSERT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor inside(view->document());
    inside.setPosition(found.selectionStart() + 1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(inside).center());
}

int redPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == qRgb(255, 0, 0);
    return count;
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

TEST(ServicePage, ShowsOnlyThePageTextAndOpensOnlyTheVendorsLinks)
{
    TestHome home;
    LocalSite site;
    QTemporaryDir dir;
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = dir.filePath("red.png");
    ASSERT_TRUE(red.save(picture));
    // A local picture by address and by bare path, a style sheet, a link off the site and
    // one of the site's own.
    site.pages["/webapp.css"] = "site=" + site.host().toUtf8();
    site.pages["/style.css"] = "p { color: red }";
    site.pages["/agent/ServiceLYN.asp"] =
        QString(
            "<html><head><link rel=\"stylesheet\" href=\"/style.css\"></head><body><p>服务中心</p>"
            "<img src=\"" +
            QUrl::fromLocalFile(picture).toString() +
            "\">"
            "<img src=\"" +
            picture +
            "\">"
            "<p><a href=\"http://elsewhere.example/phish\">外站链接</a></p>"
            "<p><a href=\"/kdd/help/paperset.htm\">纸张设置</a></p>")
            .toUtf8();
    pointAt(home, site.host());
    Tfm_Main frame(home.services());
    frame.resize(1200, 700);
    frame.show();
    QTextBrowser *view = nullptr;
    ASSERT_TRUE(waitFor([&] {
        view = frame.findChild<QTextBrowser *>("webAd");
        return view && view->toPlainText().contains("服务中心");
    }));
    EXPECT_FALSE(view->isHidden()); // the panel itself hides on a narrow screen
    view->resize(400, 600);
    EXPECT_EQ(redPixels(view->grab().toImage()), 0); // no picture, no red text from the sheet
    EXPECT_EQ(site.requests, 2);                     // the probe and the page, nothing else

    clickLink(view, "外站链接");
    EXPECT_TRUE(home.ui.opened.isEmpty());
    clickLink(view, "纸张设置");
    ASSERT_EQ(home.ui.opened.size(), 1);
    EXPECT_EQ(home.ui.opened[0], QUrl(QString("http://" + site.host() + "/kdd/help/paperset.htm")));
}
