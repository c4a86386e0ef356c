#include "FakeBillHost.h"

#include <QAction>

QAction *FakeBillHost::menuItem(const QString &objectName) const
{
    QAction *&item = m_menuItems[objectName];
    if (!item) {
        auto *self = const_cast<FakeBillHost *>(this);
        item = new QAction(objectName, self);
        item->setObjectName(objectName);
        connect(item, &QAction::triggered, self,
                [self, objectName] { self->asked << u"menu:" + objectName; });
    }
    return item;
}
