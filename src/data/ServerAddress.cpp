#include "data/ServerAddress.h"

#include <QUrl>
#include <QUrlQuery>

ServerAddress ServerAddress::fromUrl(const QString &url, QString *error)
{
    const QUrl u(url, QUrl::StrictMode);
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return ServerAddress{};
    };
    if (!u.isValid() || (u.scheme() != u"postgresql" && u.scheme() != u"postgres"))
        return fail(QStringLiteral("共享数据库地址应形如 postgresql://用户@主机:端口/数据库"));
    ServerAddress a;
    const QUrlQuery query(u);
    a.host = query.hasQueryItem(QStringLiteral("host"))
                 ? query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded)
                 : u.host(QUrl::FullyDecoded);
    a.port = u.port(5432);
    a.database = u.path(QUrl::FullyDecoded).mid(1);
    a.user = u.userName(QUrl::FullyDecoded);
    a.password = u.password(QUrl::FullyDecoded);
    a.schema = query.queryItemValue(QStringLiteral("schema"), QUrl::FullyDecoded);
    if (a.database.isEmpty() || a.database.contains(u'/'))
        return fail(QStringLiteral("共享数据库地址缺少数据库名"));
    return a;
}

QString ServerAddress::displayUrl() const
{
    QUrl u;
    u.setScheme(QStringLiteral("postgresql"));
    u.setUserName(user);
    QUrlQuery query;
    if (host.startsWith(u'/'))
        query.addQueryItem(QStringLiteral("host"), host);
    else
        u.setHost(host);
    if (port != 5432)
        u.setPort(port);
    u.setPath(u'/' + database);
    if (!schema.isEmpty())
        query.addQueryItem(QStringLiteral("schema"), schema);
    u.setQuery(query);
    return u.toString();
}
