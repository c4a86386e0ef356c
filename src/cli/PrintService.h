#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class AppServices;
class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponse;

// `lanyan serve`: a print service for the shop system on this computer only (127.0.0.1).
// Every request carries the token kept in the data home (file mode 0600) as
// "Authorization: Bearer TOKEN"; a page of the configured web origin may call it (CORS).
//   POST /print  {"template", "rows": [{title: value}] | "bill": "kdd:ID", "printer": QUEUE |
//                 "pdf", "copies"} -> {"job": ID}
//   GET /jobs/ID -> the job's state and counts;  GET /templates;  GET /printers
// Jobs run one at a time through `lanyan print`'s engine and are on record as batch runs.
class PrintService : public QObject
{
public:
    static constexpr quint16 kDefaultPort = 17521;
    static constexpr qsizetype kMaxBodyBytes = 1 << 20;

    explicit PrintService(AppServices &services);
    ~PrintService() override;

    // The port listened on, 0 when it could not be taken.
    quint16 listen(quint16 port);
    // The token file in the data home, made on first start.
    QString tokenFile() const;
    const QByteArray &token() const { return m_token; }

private:
    struct Job
    {
        QString state = QStringLiteral("queued"); // printing, done, failed
        QJsonObject request;
        QJsonObject summary;
    };

    bool authorised(const QHttpServerRequest &request) const;
    QHttpServerResponse reply(const QHttpServerRequest &request,
                              QHttpServerResponse response) const;
    QHttpServerResponse post(const QHttpServerRequest &request);
    QHttpServerResponse job(int id) const;
    QHttpServerResponse templates() const;
    QHttpServerResponse printers() const;
    void runNext();
    QJsonObject runJob(int id, const QJsonObject &request);

    AppServices &m_services;
    std::unique_ptr<QHttpServer> m_server;
    QByteArray m_token;
    QString m_origin; // the shop system's web origin, from Config.ini
    QHash<int, Job> m_jobs;
    QList<int> m_queue;
    int m_nextJob = 1;
    bool m_running = false;
};
