#pragma once

#include <QString>

// Root reads and writes files whatever their mode, so a case about unreadable or read-only
// files runs again as an unprivileged user. Answers the output of that run when it did not
// pass, empty when it did.
QString failureAsNobody(const QString &testName);
