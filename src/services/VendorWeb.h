#pragma once

#include <QString>
#include <QUrl>

class Settings;
class Ui;

// The vendor's web pages. The host comes from Config.ini section "Online", key "Host"; key
// "Https" on ("yes" or "1") addresses the site through https.
class VendorWeb
{
public:
    static constexpr const char *kDefaultHost = "www.lanyan.example";

    VendorWeb(Settings &settings, Ui &ui, QString appVersion);

    QString host() const;
    bool usesHttps() const;
    QString homePage() const;
    // "pname=LYLQBT_CDHP&ptype=S1&ver=" + version, and the rest of ours.
    QString productQuery() const;
    // Site address + path + product query (the path carries its own "?" or "&").
    QString page(const QString &pathAndQueryStart) const;

    QUrl urlFor(QString address) const;
    // Opens the address in the browser; an address off the vendor's site becomes the site's
    // page for bad links. Never blocks, never reports.
    void BrowseURL(const QString &address) const;

    // The pages the commands open.
    QString helpPage() const { return page(QStringLiteral("/help.asp?rail=kdd&")); }
    QString paperSizePage() const { return page(QStringLiteral("/kdd/help/paperset.htm?")); }
    QString upgradePage() const { return page(QStringLiteral("/update/up.asp?a=1&")); }
    QString postcodePage() const { return page(QStringLiteral("/help/postcode.asp?")); }
    QString trackingPage(const QString &templateName, const QString &trackingNumber) const;
    QString sidePanelPage() const { return homePage() + u'?' + productQuery(); }

    bool isVendorAddress(const QUrl &url) const;

private:
    Settings &m_settings;
    Ui &m_ui;
    QString m_appVersion;
};
