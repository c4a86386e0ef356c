#include "bills/BillValues.h"

void BillValues::setHidden(const QString &ctlName, bool hidden)
{
    if (hidden)
        m_hidden.insert(key(ctlName));
    else
        m_hidden.remove(key(ctlName));
}

void BillValues::setHidden(const QStringList &ctlNames, bool hidden)
{
    for (const QString &name : ctlNames)
        setHidden(name, hidden);
}

QString BillValues::printed(const QString &ctlName) const
{
    return isHidden(ctlName) ? QString() : value(ctlName);
}
