#pragma once

#include <QString>

// Who works the program, for the records that name a person (batch runs): the operator who
// logged in, else the system's user.
namespace CurrentOperator {

QString name();
void set(const QString &operatorName);

} // namespace CurrentOperator
