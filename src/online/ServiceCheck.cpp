#include "online/ServiceCheck.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

// What a service page may weigh; more is not a page of ours.
constexpr qint64 kMaxPageBytes = 2 << 20;

} // namespace

ServiceCheck::ServiceCheck(QString host, QString productQuery, QObject *parent)
    : QObject(parent)
    , m_host(std::move(host))
    , m_productQuery(std::move(productQuery))
{}

QNetworkReply *ServiceCheck::get(const QString &path)
{
    QNetworkRequest request(QUrl(m_scheme + u"://" + m_host + path));
    request.setTransferTimeout(kTimeoutMs);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/html"));
    request.setRawHeader("Accept", "text/html, */*");
    QNetworkReply *reply = m_network.get(request);
    // A page that keeps on coming is cut off rather than read into memory for ever.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxPageBytes)
            reply->abort();
    });
    return reply;
}

void ServiceCheck::start()
{
    QNetworkReply *reply = get(QStringLiteral("/webapp.css"));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { probeAnswered(reply); });
}

void ServiceCheck::probeAnswered(QNetworkReply *reply)
{
    reply->deleteLater();
    const bool reachable = reply->error() == QNetworkReply::NoError &&
                           QString::fromUtf8(reply->read(kMaxPageBytes))
                               .contains(u"site=" + m_host, Qt::CaseInsensitive);
    if (!reachable) {
        Q_EMIT finished(false, {});
        return;
    }
    QNetworkReply *page = get(u"/agent/ServiceLYN.asp?" + m_productQuery);
    connect(page, &QNetworkReply::finished, this, [this, page] { pageAnswered(page); });
}

void ServiceCheck::pageAnswered(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        Q_EMIT finished(false, {});
        return;
    }
    Q_EMIT finished(true, QString::fromUtf8(reply->read(kMaxPageBytes)));
}
