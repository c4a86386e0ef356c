#include "services/VendorWeb.h"

#include "base/Ui.h"
#include "data/Settings.h"

VendorWeb::VendorWeb(Settings &settings, Ui &ui, QString appVersion)
    : m_settings(settings)
    , m_ui(ui)
    , m_appVersion(std::move(appVersion))
{}

QString VendorWeb::host() const
{
    const QString host =
        m_settings.userIni().readString(QStringLiteral("Online"), QStringLiteral("Host")).trimmed();
    return host.isEmpty() ? QString::fromLatin1(kDefaultHost) : host;
}

bool VendorWeb::usesHttps() const
{
    return Settings::isOn(
        m_settings.userIni().readString(QStringLiteral("Online"), QStringLiteral("Https")));
}

QString VendorWeb::homePage() const
{
    return (usesHttps() ? u"https://" : u"http://") + host() + u'/';
}

QString VendorWeb::productQuery() const
{
    return u"pname=LYLQBT_CDHP&ptype=S1&ver=" + m_appVersion + u"&os=linux";
}

QString VendorWeb::page(const QString &pathAndQueryStart) const
{
    return homePage().chopped(1) + pathAndQueryStart + productQuery();
}

QString VendorWeb::trackingPage(const QString &templateName, const QString &trackingNumber) const
{
    return page(u"/help/kddsearch?typekey=" +
                QString::fromLatin1(QUrl::toPercentEncoding(templateName)) + u"&kddno=" +
                QString::fromLatin1(QUrl::toPercentEncoding(trackingNumber)) + u'&');
}

bool VendorWeb::isVendorAddress(const QUrl &url) const
{
    // The configured host may carry a port ("127.0.0.1:8080").
    const QUrl site(homePage());
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") &&
           url.host().compare(site.host(), Qt::CaseInsensitive) == 0 &&
           (site.port() == -1 || url.port() == site.port());
}

QUrl VendorWeb::urlFor(QString address) const
{
    address.remove(u'\'');
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (isVendorAddress(url))
        return url;
    return QUrl(homePage() + u"?help=errorurl");
}

void VendorWeb::BrowseURL(const QString &address) const
{
    m_ui.openUrl(urlFor(address));
}
