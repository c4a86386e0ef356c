#pragma once

#include "parties/AddressRecognizer.h"
#include "parties/RegionIndex.h"

class QRegularExpression;

// Chooses each field of a recognised block among what the rules found, with the division
// tree and the shapes of phone numbers, names and labels: the rules cast a wide net, this
// picks what a clerk would type. The chosen value joins the candidates when the rules missed
// it, so the drop-downs still offer everything.
class AddressChoice
{
public:
    AddressChoice(const QString &normalizedText, const RegionIndex &regions);

    // True when it chose the address itself (the detail behind the places).
    bool apply(RecognizedAddress &r);

private:
    void choosePhones(RecognizedAddress &r);
    void chooseZipcode(RecognizedAddress &r);
    void choosePlace(RecognizedAddress &r);
    bool chooseAddress(RecognizedAddress &r) const;
    void chooseContact(RecognizedAddress &r) const;
    void chooseCompany(RecognizedAddress &r) const;

    QString labelled(const QRegularExpression &rule) const;
    QString cleanAddress(QString a, const RecognizedAddress &r) const;
    bool isNameLike(const QString &token) const;
    void blank(qsizetype at, qsizetype length);

    const RegionIndex &m_regions;
    QString m_text; // the pasted text, one LF per line
    QString m_rest; // the same with phones and postcode blanked out, positions kept
    RegionIndex::Place m_place;
};
