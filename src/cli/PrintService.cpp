#include "cli/PrintService.h"

#include "cli/PrintCommand.h"
#include "data/Settings.h"
#include "print/PrintEngine.h"
#include "services/AppServices.h"
#include "templates/Catalogue.h"
#include "templates/TemplateModel.h"

#include <QDir>
#include <QFile>
#include <QHttpServer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTimer>
#include <fcntl.h>
#include <unistd.h>

namespace {

using Status = QHttpServerResponse::StatusCode;

QHttpServerResponse failure(Status status, const QString &message)
{
    return QHttpServerResponse(QJsonObject{{"error", message}}, status);
}

// A field of a CSV line, quoted so that separators, quotes and line breaks stay in it.
QString csvField(QString text)
{
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The rows as a delimited text under the union of their titles, for the import's matching.
QByteArray rowsAsCsv(const QJsonArray &rows)
{
    QStringList titles;
    for (const QJsonValue &row : rows)
        for (const QString &key : row.toObject().keys())
            if (!titles.contains(key))
                titles << key;
    QStringList lines;
    QStringList fields;
    for (const QString &title : titles)
        fields << csvField(title);
    lines << fields.join(u',');
    for (const QJsonValue &row : rows) {
        fields.clear();
        for (const QString &title : titles)
            fields << csvField(row.toObject().value(title).toVariant().toString());
        lines << fields.join(u',');
    }
    return lines.join(u'\n').toUtf8() + '\n';
}

QByteArray readOrMakeToken(const QString &path)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly))
        return existing.readAll().trimmed();
    // Made for the owner alone before anything is written into it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return {};
    QByteArray token(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(token.begin(), token.end());
    token = token.toHex();
    const bool written = ::write(fd, token.constData(), size_t(token.size())) == token.size();
    ::close(fd);
    return written ? token : QByteArray();
}

} // namespace

PrintService::PrintService(AppServices &services)
    : m_services(services)
    , m_server(std::make_unique<QHttpServer>())
    , m_token(readOrMakeToken(tokenFile()))
    , m_origin(services.settings().getConfigByname(QStringLiteral("ServiceOrigin")).trimmed())
{
    using Method = QHttpServerRequest::Method;
    m_server->route("/print", Method::Post,
                    [this](const QHttpServerRequest &r) { return reply(r, post(r)); });
    m_server->route("/print", Method::Options, [this](const QHttpServerRequest &r) {
        return reply(r, QHttpServerResponse(Status::NoContent));
    });
    m_server->route("/jobs/<arg>", Method::Get, [this](int id, const QHttpServerRequest &r) {
        return reply(r, authorised(r) ? job(id) : failure(Status::Unauthorized, "token"));
    });
    m_server->route("/templates", Method::Get, [this](const QHttpServerRequest &r) {
        return reply(r, authorised(r) ? templates() : failure(Status::Unauthorized, "token"));
    });
    m_server->route("/printers", Method::Get, [this](const QHttpServerRequest &r) {
        return reply(r, authorised(r) ? printers() : failure(Status::Unauthorized, "token"));
    });
}

PrintService::~PrintService() = default;

quint16 PrintService::listen(quint16 port)
{
    // Without its token the service would answer anybody on this computer: it does not start.
    return m_token.isEmpty() ? 0 : m_server->listen(QHostAddress::LocalHost, port);
}

QString PrintService::tokenFile() const
{
    return m_services.getRunPath() + u"Data/ServiceToken";
}

bool PrintService::authorised(const QHttpServerRequest &request) const
{
    return !m_token.isEmpty() && request.value("Authorization") == "Bearer " + m_token;
}

QHttpServerResponse PrintService::reply(const QHttpServerRequest &request,
                                        QHttpServerResponse response) const
{
    if (!m_origin.isEmpty() && request.value("Origin") == m_origin.toUtf8()) {
        response.addHeader("Access-Control-Allow-Origin", m_origin.toUtf8());
        response.addHeader("Access-Control-Allow-Headers", "Authorization, Content-Type");
        response.addHeader("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
        response.addHeader("Vary", "Origin");
    }
    return response;
}

QHttpServerResponse PrintService::post(const QHttpServerRequest &request)
{
    if (!authorised(request))
        return failure(Status::Unauthorized, QStringLiteral("缺少或错误的令牌"));
    if (request.body().size() > kMaxBodyBytes)
        return failure(Status::PayloadTooLarge, QStringLiteral("请求超过 1 MB"));
    QJsonParseError error{};
    const QJsonDocument body = QJsonDocument::fromJson(request.body(), &error);
    const QJsonObject job = body.object();
    if (error.error != QJsonParseError::NoError || !body.isObject())
        return failure(Status::BadRequest, u"请求不是 JSON 对象：" + error.errorString());
    if (job.value("template").toVariant().toString().trimmed().isEmpty())
        return failure(Status::BadRequest, QStringLiteral("缺少 template"));
    if (job.contains("rows") == job.contains("bill") ||
        (job.contains("rows") && !job.value("rows").isArray()))
        return failure(Status::BadRequest,
                       QStringLiteral("rows（数组）和 bill 要有一个，且只能有一个"));
    if (job.value("printer").toString().isEmpty())
        return failure(Status::BadRequest, QStringLiteral("缺少 printer（打印机名称或 \"pdf\"）"));
    const int id = m_nextJob++;
    m_jobs.insert(id, Job{QStringLiteral("queued"), job, {}});
    m_queue << id;
    QTimer::singleShot(0, this, &PrintService::runNext);
    return QHttpServerResponse(QJsonObject{{"job", id}});
}

QHttpServerResponse PrintService::job(int id) const
{
    const auto it = m_jobs.constFind(id);
    if (it == m_jobs.cend())
        return failure(Status::NotFound, QStringLiteral("没有这个任务"));
    QJsonObject answer = it->summary;
    answer.insert("job", id);
    answer.insert("state", it->state);
    return QHttpServerResponse(answer);
}

QHttpServerResponse PrintService::templates() const
{
    QJsonArray list;
    const Catalogue &catalogue = m_services.catalogue();
    for (const QString &name : catalogue.loadCheckTypeFullNameList()) {
        const int id = catalogue.loadCheckTypeIDByTypeFullName(name).toInt();
        list.append(
            QJsonObject{{"id", id}, {"name", name}, {"kind", Catalogue::kindFromTypeName(name)}});
    }
    return QHttpServerResponse(list);
}

QHttpServerResponse PrintService::printers() const
{
    return QHttpServerResponse(QJsonArray::fromStringList(m_services.printEngine().printers()));
}

void PrintService::runNext()
{
    // One job at a time: a job waits for the one printing before it.
    if (m_running || m_queue.isEmpty())
        return;
    m_running = true;
    const int id = m_queue.takeFirst();
    m_jobs[id].state = QStringLiteral("printing");
    const QJsonObject summary = runJob(id, m_jobs[id].request);
    Job &done = m_jobs[id];
    done.summary = summary;
    done.state = summary.value("exit").toInt() == PrintCommand::Done ? QStringLiteral("done")
                                                                     : QStringLiteral("failed");
    m_running = false;
    QTimer::singleShot(0, this, &PrintService::runNext);
}

QJsonObject PrintService::runJob(int id, const QJsonObject &job)
{
    const QString temp = m_services.getRunPath() + u"Temp/";
    QDir().mkpath(temp);
    PrintRequest request;
    request.templateText = job.value("template").toVariant().toString().trimmed();
    request.bill = job.value("bill").toString();
    request.copies = std::max(1, job.value("copies").toInt(1));
    request.json = true;
    if (job.value("printer").toString() == u"pdf")
        request.pdf = temp + QStringLiteral("job-%1.pdf").arg(id);
    else
        request.printer = job.value("printer").toString();
    QFile rows(temp + QStringLiteral("job-%1.csv").arg(id));
    if (job.contains("rows")) {
        if (!rows.open(QIODevice::WriteOnly) ||
            rows.write(rowsAsCsv(job.value("rows").toArray())) < 0)
            return QJsonObject{{"exit", int(PrintCommand::BadInput)},
                               {"error", QString(u"不能写入 " + rows.fileName())}};
        rows.close();
        request.valuesFile = rows.fileName();
    }
    QString out, err;
    QTextStream o(&out), e(&err);
    PrintCommand(m_services, o, e).run(request);
    rows.remove();
    QJsonObject summary = QJsonDocument::fromJson(out.toUtf8()).object();
    if (!request.pdf.isEmpty() && summary.value("sent").toBool())
        summary.insert("pdf", request.pdf);
    return summary;
}
