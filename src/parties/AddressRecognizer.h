#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Splits a pasted address block (an online shop's order page, or free text) into the fields of
// a party: regular expressions and keyword rules give candidates per field, and one candidate
// of each is chosen. Pure: the windows show and correct the result.

// The shop page the text was copied from; the Paipai page gets one extra address rule.
enum class AddressFormat { TaoBao, EachNet, PaiPai, Other };

// A user's own "其他字符" replacement: every `from` becomes `to` before recognition.
using TextReplacement = std::pair<QString, QString>;

struct AddressRecognitionOptions
{
    AddressFormat format = AddressFormat::TaoBao;
    bool containProvinceCity = false; // "含省市": the address starts with province, city, town
    // The contact the user typed (or recognised before): removed from the head of the address.
    QString contactHint;
};

struct RecognizedField
{
    QStringList candidates;
    QString text; // the chosen value; may differ from every candidate after clean-up
};

struct RecognizedAddress
{
    RecognizedField company, contact, phone, handset, country, province, city, town, address,
        zipcode;

    bool isEmpty() const;
};

// Cleans a pasted text before recognition: blank lines, shop status words, full-width
// punctuation, labels, then the user's replacements. Lines end in CR LF, as the rules expect.
QString normalizeAddressText(const QString &text, const std::vector<TextReplacement> &replacements);

// Recognises a normalised text. Empty result for a blank text.
RecognizedAddress recognizeAddress(const QString &normalizedText,
                                   const AddressRecognitionOptions &options);

// The "含省市" rule on an address: with `contain`, the missing ones of province, city and town
// go in front; without, their first occurrences come out.
QString applyContainProvinceCity(const QString &address, const QString &province,
                                 const QString &city, const QString &town, bool contain);

// The sample text of a format for "示例地址格式", and the note shown for it.
QString addressFormatSample(AddressFormat format);
QString addressFormatNote(AddressFormat format);
