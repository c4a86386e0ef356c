#pragma once

#include "data/TPerson.h"

#include <QString>
#include <functional>
#include <vector>

// The four party blocks of the two bill forms, and which bill field shows which party field.
// Both forms fill their blocks and build a party back from them through here.
enum class PartyBlock { SlipSender, SlipReceiver, DraftDrawer, DraftPayee };

struct PartyBlockField
{
    QString TPerson::*field;
    const char *control; // objectName of the bill field
};

const std::vector<PartyBlockField> &partyBlockFields(PartyBlock block);

// The prompt a form shows in an empty name box; it counts as no name.
QString partyBlockPrompt(PartyBlock block);

// Puts the party's fields into the block's controls. Without a party the express slip empties
// its block; the draft leaves its block as it is.
void fillPartyBlock(
    PartyBlock block, const TPerson *party,
    const std::function<void(const QString &control, const QString &text)> &setText);

// The party a bill block describes ("存收件人", "存收款人"), not stored yet; a name box
// holding its prompt gives no name (the form clears the prompt from the box itself).
TPerson partyFromBlock(PartyBlock block,
                       const std::function<QString(const QString &control)> &textOf);
