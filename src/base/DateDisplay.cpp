#include "base/DateDisplay.h"

namespace DateDisplay {

QString format()
{
    return QStringLiteral("yyyy-MM-dd");
}

QString text(const QDate &date)
{
    return date.toString(format());
}

} // namespace DateDisplay
