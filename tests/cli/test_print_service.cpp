#include "../print/PdfWords.h"
#include "TestHome.h"
#include "cli/PrintService.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Answer
{
    int status = 0;
    QJsonDocument body;
    QByteArray allowedOrigin;
};

// A client of the service over loopback, as a shop system's would be.
struct Client
{
    TestHome home;
    PrintService service{home.services()};
    quint16 port = service.listen(0);
    QNetworkAccessManager network;

    Answer send(const QByteArray &verb, const QString &path, const QByteArray &token,
                const QByteArray &body = {}, const QByteArray &origin = {})
    {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        if (!token.isEmpty())
            request.setRawHeader("Authorization", "Bearer " + token);
        if (!origin.isEmpty())
            request.setRawHeader("Origin", origin);
        QNetworkReply *reply = network.sendCustomRequest(request, verb, body);
        // A guard against a hang, far beyond what the work takes.
        EXPECT_TRUE(QTest::qWaitFor([reply] { return reply->isFinished(); }, 60000))
            << path.toStdString();
        Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                      QJsonDocument::fromJson(reply->readAll()),
                      reply->rawHeader("Access-Control-Allow-Origin")};
        reply->deleteLater();
        return answer;
    }
    QJsonObject waitForJob(int id)
    {
        QJsonObject job;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                job =
                    send("GET", QStringLiteral("/jobs/%1").arg(id), service.token()).body.object();
                const QString state = job.value("state").toString();
                return state == u"done" || state == u"failed";
            },
            60000));
        return job;
    }
    int runs()
    {
        QSqlQuery q = home.db().query();
        return q.exec("SELECT COUNT(*) FROM BatchRunTable") && q.next() ? q.value(0).toInt() : -1;
    }
};

QByteArray slips(const char *printer = "pdf")
{
    return QJsonDocument(QJsonObject{{"template", "飞燕速递"},
                                     {"printer", printer},
                                     {"rows", QJsonArray{QJsonObject{{"全称", "北京远景贸易"},
                                                                     {"联系人", "张三"},
                                                                     {"地址", "朝阳区一号"}},
                                                         QJsonObject{{"全称", "上海百川实业"},
                                                                     {"联系人", "李四"},
                                                                     {"地址", "浦东新区二号"}}}}})
        .toJson();
}

} // namespace

TEST(PrintService, AJobWithTheTokenPrintsAndIsOnRecord)
{
    Client c;
    ASSERT_NE(c.port, 0);
    EXPECT_EQ(QFile::permissions(c.service.tokenFile()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    const Answer posted = c.send("POST", "/print", c.service.token(), slips());
    ASSERT_EQ(posted.status, 200);
    const QJsonObject job = c.waitForJob(posted.body.object().value("job").toInt());
    EXPECT_EQ(job.value("state").toString(), QStringLiteral("done"));
    EXPECT_EQ(job.value("printed").toInt(), 2);
    EXPECT_EQ(job.value("run").toInt(), 1);
    const auto pages = readPdfWords(job.value("pdf").toString());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(c.runs(), 1);

    const Answer templates = c.send("GET", "/templates", c.service.token());
    EXPECT_EQ(templates.status, 200);
    EXPECT_TRUE(templates.body.array().contains(
        QJsonObject{{"id", 1}, {"name", "快递单（飞燕速递）"}, {"kind", "快递单"}}));
    EXPECT_EQ(c.send("GET", "/printers", c.service.token()).status, 200);
}

TEST(PrintService, WithoutTheTokenOrOverTheCapNothingPrints)
{
    Client c;
    ASSERT_NE(c.port, 0);
    const struct
    {
        const char *what;
        QByteArray verb, path, token, body;
        int status;
    } cases[]{
        {"no token", "POST", "/print", {}, slips(), 401},
        {"wrong token", "POST", "/print", "0123", slips(), 401},
        {"templates without token", "GET", "/templates", {}, {}, 401},
        {"job without token", "GET", "/jobs/1", {}, {}, 401},
        {"over the cap", "POST", "/print", c.service.token(),
         QByteArray(PrintService::kMaxBodyBytes + 1, ' '), 413},
        {"not JSON", "POST", "/print", c.service.token(), "{", 400},
        {"neither rows nor bill", "POST", "/print", c.service.token(),
         R"({"template": "1", "printer": "pdf"})", 400},
    };
    for (const auto &k : cases)
        EXPECT_EQ(c.send(k.verb, QString::fromLatin1(k.path), k.token, k.body).status, k.status)
            << k.what;
    EXPECT_EQ(c.send("GET", "/jobs/1", c.service.token()).status, 404) << "nothing was queued";
    EXPECT_EQ(c.runs(), 0);

    // A job that the engine refuses fails with its reason and records nothing.
    const Answer posted = c.send("POST", "/print", c.service.token(), slips("没有的打印机"));
    ASSERT_EQ(posted.status, 200);
    const QJsonObject job = c.waitForJob(posted.body.object().value("job").toInt());
    EXPECT_EQ(job.value("state").toString(), QStringLiteral("failed"));
    EXPECT_EQ(job.value("exit").toInt(), 3);
    EXPECT_TRUE(job.value("error").toString().contains(QStringLiteral("没有这台打印机")));
    EXPECT_EQ(c.runs(), 0);
}

TEST(PrintService, OnlyTheConfiguredOriginMayCallFromAPage)
{
    Client c;
    // The origin is read when a service starts.
    c.home.settings().setConfigByname(QStringLiteral("ServiceOrigin"),
                                      QStringLiteral("https://shop.example"));
    PrintService service(c.home.services());
    const quint16 port = service.listen(0);
    ASSERT_NE(port, 0);
    c.port = port;
    const Answer allowed = c.send("GET", "/printers", service.token(), {}, "https://shop.example");
    EXPECT_EQ(allowed.allowedOrigin, QByteArray("https://shop.example"));
    const Answer other = c.send("GET", "/printers", service.token(), {}, "https://evil.example");
    EXPECT_TRUE(other.allowedOrigin.isEmpty());
}
