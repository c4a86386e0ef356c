#include "online/ui/ServicePageView.h"

#include <QImage>

ServicePageView::ServicePageView(QWidget *parent)
    : QTextBrowser(parent)
{
    // Links are not followed inside the panel nor handed to the desktop as they are.
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QVariant ServicePageView::loadResource(int type, const QUrl &)
{
    // An empty answer is not enough: the document would then read local files itself. So
    // every picture is a blank pixel and every other resource an empty text.
    if (type == QTextDocument::ImageResource) {
        static const QImage blank = [] {
            QImage image(1, 1, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            return image;
        }();
        return blank;
    }
    return QString();
}
