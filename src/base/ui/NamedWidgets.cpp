#include "base/ui/NamedWidgets.h"

#include <QLabel>
#include <QPushButton>

QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption,
                         const QString &hint)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setToolTip(hint);
    return b;
}

QLabel *namedLabel(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

void makeHeading(QLabel *label, double scale)
{
    QFont font = label->font();
    if (font.pixelSize() > 0)
        font.setPixelSize(qRound(font.pixelSize() * scale));
    else
        font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    label->setFont(font);
}
