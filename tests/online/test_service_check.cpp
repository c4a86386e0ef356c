#include "LocalSite.h"
#include "online/ServiceCheck.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    bool finished = false;
    bool reachable = false;
    QString page;
};

Outcome check(const QString &host)
{
    ServiceCheck service(host, "pname=LYLQBT_CDHP&ptype=S1&ver=10.3");
    QSignalSpy done(&service, &ServiceCheck::finished);
    service.start();
    Outcome o;
    // Ten times the time-out: only a check that never ends fails here.
    o.finished = done.wait(10 * ServiceCheck::kTimeoutMs);
    if (o.finished) {
        o.reachable = done.at(0).at(0).toBool();
        o.page = done.at(0).at(1).toString();
    }
    return o;
}

} // namespace

TEST(ServiceCheck, ReachableSiteGivesItsServicePage)
{
    LocalSite site;
    site.pages["/webapp.css"] = "body{} /* site=" + site.host().toUtf8() + " */";
    site.pages["/agent/ServiceLYN.asp"] = QString("<p>在线服务</p>").toUtf8();
    const Outcome o = check(site.host());
    ASSERT_TRUE(o.finished);
    EXPECT_TRUE(o.reachable);
    EXPECT_EQ(o.page, "<p>在线服务</p>");
}

TEST(ServiceCheck, ForeignOrMissingAnswerCountsAsUnreachable)
{
    LocalSite site;
    site.pages["/webapp.css"] = "site=other.example";
    Outcome o = check(site.host());
    ASSERT_TRUE(o.finished);
    EXPECT_FALSE(o.reachable);
    EXPECT_EQ(site.requests, 1) << "no service page asked for";

    site.pages.clear(); // 404
    o = check(site.host());
    EXPECT_TRUE(o.finished && !o.reachable);
}

TEST(ServiceCheck, ClosedPortAndSilentSiteEndWithinTheTimeOut)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        closedPort = probe.serverPort();
    }
    Outcome o = check(QStringLiteral("127.0.0.1:%1").arg(closedPort));
    EXPECT_TRUE(o.finished && !o.reachable);

    LocalSite slow(/*slow=*/true);
    o = check(slow.host());
    ASSERT_TRUE(o.finished);
    EXPECT_FALSE(o.reachable);
}
