#include "cli/BillReference.h"

std::optional<BillReference> BillReference::parse(const QString &text)
{
    const QString kind = text.section(u':', 0, 0).trimmed().toLower();
    bool number = false;
    const int id = text.section(u':', 1).trimmed().toInt(&number);
    if (!number || id <= 0 || text.count(u':') != 1)
        return std::nullopt;
    if (kind == u"kdd")
        return BillReference{BillKind::ExpressSlip, id};
    if (kind == u"cdhp")
        return BillReference{BillKind::AcceptanceDraft, id};
    return std::nullopt;
}
