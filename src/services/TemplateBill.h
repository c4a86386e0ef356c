#pragma once

#include "bills/BillKind.h"
#include "bills/BillValues.h"
#include "bills/DraftBill.h"
#include "bills/ExpressSlipBill.h"

#include <QHash>

class AppServices;
class Dictionaries;

// A new bill of one template as its form starts it, for printing without the form: what the
// template's layout shows and hides, its default values, today's date, the default drawer when
// the options turn it on, the first signature and origin site of the slip's dictionaries, and
// the options remembered for the template ("记住选项").
struct TemplateBill
{
    BillValues values;
    DraftOptions draftOptions;
    ExpressSlipOptions slipOptions;

    static TemplateBill start(AppServices &services, BillKind kind, int checkTypeId,
                              const QStringList &printItems);
    // A saved bill's row over this start, as its form shows it reopened; a draft in the row's
    // currency.
    BillValues reopened(const QHash<QString, QString> &row, Dictionaries &dictionaries) const;
};
