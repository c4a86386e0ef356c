#pragma once

#include <QString>

// Small rules of the express slip form that need no window.
namespace ExpressSlipRules {

// "合并手机到电话" checked: the phone takes the handset, or gets "\" + handset appended unless it
// already holds it.
QString mergeHandsetIntoPhone(const QString &phone, const QString &handset);
// Unchecked again: the first "\" + handset is taken out.
QString removeHandsetFromPhone(const QString &phone, const QString &handset);

// Point size of an address memo on screen for its line count and height in pixels; the
// receiver memo's upper threshold is 22 pixels, the sender's 23.
int addressMemoPointSize(int lineCount, int heightPixels, int upperThreshold);

// Entries shown by the sender and receiver name lists for a screen height.
int nameListLength(int screenHeight);

// Year, month and day texts of the slip's date fields, month and day with a leading zero.
struct DateParts
{
    QString year, month, day;
};
DateParts dateParts(int year, int month, int day);

} // namespace ExpressSlipRules
