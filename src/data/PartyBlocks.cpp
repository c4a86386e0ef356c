#include "data/PartyBlocks.h"

namespace {

bool isSlip(PartyBlock block)
{
    return block == PartyBlock::SlipSender || block == PartyBlock::SlipReceiver;
}

} // namespace

const std::vector<PartyBlockField> &partyBlockFields(PartyBlock block)
{
    using P = TPerson;
    static const std::vector<PartyBlockField> sender{
        {&P::FullName, "zdHKR"},  {&P::Contactor, "zdHKRLXR"}, {&P::Province, "zdHKRS"},
        {&P::City, "zdHKRXS"},    {&P::Town, "edtFJRTown"},    {&P::Address, "zdHkrDZ"},
        {&P::Phone, "zdhkrDH"},   {&P::Handset, "hkrHandset"}, {&P::Country, "edtCountryFrom"},
        {&P::Zipcode, "zdHKRYB"},
    };
    static const std::vector<PartyBlockField> receiver{
        {&P::FullName, "zdSKR"},  {&P::Contactor, "zdSKRLXR"}, {&P::Province, "zdSKRS"},
        {&P::City, "zdSKRXS"},    {&P::Town, "edtSJRTown"},    {&P::Address, "zdSkrDZ"},
        {&P::Phone, "zdskrDH"},   {&P::Handset, "skrHandset"}, {&P::Country, "edtCountryDest"},
        {&P::Zipcode, "zdSKRYB"},
    };
    static const std::vector<PartyBlockField> drawer{
        {&P::FullName, "zdOutComp"},     {&P::Bank, "zdOutBank"},
        {&P::BankAcct, "zdOutBankAcct"}, {&P::BankAddr, "zdOutBankAddr"},
        {&P::BankNo, "zdOutBankNO"},
    };
    static const std::vector<PartyBlockField> payee{
        {&P::FullName, "zdInComp"},
        {&P::Bank, "zdInBank"},
        {&P::BankAcct, "zdInBankAcct"},
    };
    switch (block) {
    case PartyBlock::SlipSender:
        return sender;
    case PartyBlock::SlipReceiver:
        return receiver;
    case PartyBlock::DraftDrawer:
        return drawer;
    case PartyBlock::DraftPayee:
        break;
    }
    return payee;
}

QString partyBlockPrompt(PartyBlock block)
{
    switch (block) {
    case PartyBlock::SlipReceiver:
        return QStringLiteral("单击我或红圈选择收件人...:)");
    case PartyBlock::DraftPayee:
        return QStringLiteral("单击我或红圈选择收款人...:)");
    case PartyBlock::SlipSender:
    case PartyBlock::DraftDrawer:
        break;
    }
    return {};
}

void fillPartyBlock(PartyBlock block, const TPerson *party,
                    const std::function<void(const QString &, const QString &)> &setText)
{
    if (!party && !isSlip(block))
        return;
    for (const PartyBlockField &f : partyBlockFields(block))
        setText(QString::fromLatin1(f.control), party ? party->*f.field : QString());
}

TPerson partyFromBlock(PartyBlock block, const std::function<QString(const QString &)> &textOf)
{
    TPerson party;
    for (const PartyBlockField &f : partyBlockFields(block)) {
        QString value = textOf(QString::fromLatin1(f.control));
        // The draft's bank and account are typed by hand and often carry stray blanks.
        if (!isSlip(block) && f.field != &TPerson::FullName)
            value = value.trimmed();
        party.*f.field = value;
    }
    const QString prompt = partyBlockPrompt(block);
    if (!prompt.isEmpty() && party.FullName == prompt)
        party.FullName.clear();
    const bool ownSide = block == PartyBlock::SlipSender || block == PartyBlock::DraftDrawer;
    party.AcountType = ownSide ? TPerson::kOwnUnit : TPerson::kCounterparty;
    return party;
}
