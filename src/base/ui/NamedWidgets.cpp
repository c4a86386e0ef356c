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
