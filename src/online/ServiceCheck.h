#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QNetworkReply;

// The start-up check of the vendor's service page: asks the site whether it is there and, when
// it is, fetches the service page. Runs in the background and never keeps the window waiting
// longer than the time-out per request.
class ServiceCheck : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 3000;

    // `host` may carry a port ("127.0.0.1:8080").
    ServiceCheck(QString host, QString productQuery, QObject *parent = nullptr);

    // Asks the site through https instead of http.
    void useHttps(bool on) { m_scheme = on ? QStringLiteral("https") : QStringLiteral("http"); }
    void start();

Q_SIGNALS:
    // Once per start(): the service page when the site answered as itself, else nothing.
    void finished(bool reachable, const QString &page);

private:
    QNetworkReply *get(const QString &path);
    void probeAnswered(QNetworkReply *reply);
    void pageAnswered(QNetworkReply *reply);

    QString m_scheme = QStringLiteral("http");
    QString m_host;
    QString m_productQuery;
    QNetworkAccessManager m_network;
};
