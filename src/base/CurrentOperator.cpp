#include "base/CurrentOperator.h"

namespace {

QString &loggedIn()
{
    static QString name;
    return name;
}

} // namespace

namespace CurrentOperator {

QString name()
{
    return loggedIn().isEmpty() ? qEnvironmentVariable("USER") : loggedIn();
}

void set(const QString &operatorName)
{
    loggedIn() = operatorName;
}

} // namespace CurrentOperator
