#pragma once

#include <QDate>
#include <QHash>
#include <QString>

class BillValues;
class Dictionaries;
struct DraftOptions;

// Puts one row of the draft batch list into the draft, a copy of the fixed values, under the
// options; answers why the row cannot print, empty when it can. A row without an issue date
// gets `formDate`, the date the form shows; a row without a currency is in the options'
// currency, never in the row before's.
QString putDraftRow(BillValues &draft, const QHash<QString, QString> &row, DraftOptions options,
                    const QDate &formDate, const Dictionaries &dictionaries);
