#pragma once

#include <QTextBrowser>

// The side panel's view of the vendor's service page. It shows the page's own text only:
// pictures, style sheets and any other resource the page names are never loaded (a `file:`
// address could name a device that never ends), and a clicked link is only reported, for the
// caller to open when it points at the vendor's site.
class ServicePageView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit ServicePageView(QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;
};
