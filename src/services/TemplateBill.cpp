#include "services/TemplateBill.h"

#include "base/IniFile.h"
#include "bills/BillDate.h"
#include "bills/BillFormTexts.h"
#include "bills/DraftFields.h"
#include "bills/ExpressSlipFields.h"
#include "bills/StoredBill.h"
#include "data/Parties.h"
#include "data/PartyBlocks.h"
#include "data/Settings.h"
#include "parties/Dictionaries.h"
#include "services/AppServices.h"
#include "templates/Catalogue.h"

#include <QDate>

namespace {

QString remembered(const IniFile *cache, const char *name)
{
    return Settings::getInifCheckConfigByName(cache, QString::fromLatin1(name));
}

// Shown and hidden as the layout cache lays the form out; a field the layout does not name
// stays hidden, and a default the cache holds is the field's value (any default ticks a box).
void layOut(BillValues &bill, const QStringList &names, const QStringList &laidOut,
            const IniFile *cache)
{
    for (const QString &name : names) {
        const QString key = name.toUpper();
        const bool named = laidOut.contains(name, Qt::CaseInsensitive);
        const bool shown =
            named && cache && cache->readInteger(QStringLiteral("viewv"), key + u".v", 0) != 0;
        bill.setHidden(name, !shown);
        const QString dv =
            named && cache ? cache->readString(QStringLiteral("viewdv"), key + u".dv") : QString();
        if (!dv.isEmpty())
            bill.set(name, key.startsWith(u"DEFCHECK") ? QStringLiteral("√") : dv);
    }
}

} // namespace

TemplateBill TemplateBill::start(AppServices &services, BillKind kind, int checkTypeId,
                                 const QStringList &printItems)
{
    const bool draft = kind == BillKind::AcceptanceDraft;
    const BillFormTexts &texts =
        draft ? BillFormTexts::acceptanceDraft() : BillFormTexts::expressSlip();
    Catalogue &catalogue = services.catalogue();
    const std::unique_ptr<IniFile> cache = catalogue.OpenCheckInif(checkTypeId);

    TemplateBill start;
    start.values = BillValues(kind, checkTypeId);
    QStringList names = printItems;
    for (const BillField &f : draft ? DraftFields::all() : ExpressSlipFields::all())
        if (!names.contains(f.control, Qt::CaseInsensitive))
            names << f.control;
    layOut(start.values, names, catalogue.loadLayoutItemNames(texts.kind).value_or(QStringList{}),
           cache.get());

    Parties &parties = services.parties();
    parties.holdDefaultDrawer(
        services.settings().getConfigByname(QStringLiteral("启用默认出票人")) == u"1");
    if (const std::optional<TPerson> &drawer = parties.DefaultDrawer())
        fillPartyBlock(texts.senderBlock, &*drawer,
                       [&start](const QString &control, const QString &text) {
                           start.values.set(control, text);
                       });

    if (draft) {
        DraftOptions &o = start.draftOptions;
        // A template that never remembered its options writes drafts as drafts are written.
        o.capitalDates = remembered(cache.get(), "cfgDateChinese") != u"0";
        o.capitalWithRmb = remembered(cache.get(), "cfgJEDXRMBChecked") != u"0";
        QString money = remembered(cache.get(), "cfgMoneyType");
        if (money.isEmpty())
            money = remembered(cache.get(), "cfgDefaultMoney");
        if (!money.isEmpty())
            o.moneyName = money;
        o.moneyCode = services.dictionaries().getMoneyCodeByName(o.moneyName);
        start.values.setMoneyCode(o.moneyCode);
        DraftBill::applyOptions(start.values, o);
    } else {
        ExpressSlipOptions &o = start.slipOptions;
        o.printDate = remembered(cache.get(), "cfgWantPrintRQ") == u"1";
        o.destinationIsCity = remembered(cache.get(), "cfgDestSiteIsCity") == u"1";
        o.amountFormat = remembered(cache.get(), "cfgJEDXFormat");
        const QString ids = u"0," + QString::number(checkTypeId);
        for (const auto &[field, dictionary] :
             {std::pair{"zdSign", "发件人签名"}, std::pair{"cbFromSite", "始发站"}}) {
            const QStringList entries =
                catalogue.loadDMListByName(QString::fromUtf8(dictionary), ids);
            if (start.values.value(QString::fromLatin1(field)).isEmpty() && !entries.isEmpty())
                start.values.set(QString::fromLatin1(field), entries.front());
        }
        ExpressSlipBill::applyOptions(start.values, o);
    }
    setBillDate(start.values, QDate::currentDate(), draft && start.draftOptions.capitalDates);
    return start;
}

BillValues TemplateBill::reopened(const QHash<QString, QString> &row,
                                  Dictionaries &dictionaries) const
{
    DraftOptions options = draftOptions;
    const QString money = row.value(QStringLiteral("币种"));
    if (values.kind() == BillKind::AcceptanceDraft && !money.isEmpty()) {
        options.moneyName = money;
        options.moneyCode = dictionaries.getMoneyCodeByName(money);
    }
    BillValues bill = values;
    loadStoredBill(bill, row, options);
    return bill;
}
