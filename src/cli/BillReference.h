#pragma once

#include "bills/BillKind.h"

#include <QString>
#include <optional>

// A saved bill as the commands and the print service name it: "kdd:流水号" for an express slip,
// "cdhp:流水号" for an acceptance draft.
struct BillReference
{
    BillKind kind = BillKind::ExpressSlip;
    int id = 0;

    static std::optional<BillReference> parse(const QString &text);
    static QString formatHint() { return QStringLiteral("kdd:流水号 或 cdhp:流水号"); }
};
