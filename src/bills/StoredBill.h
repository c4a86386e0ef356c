#pragma once

#include <QHash>
#include <QString>

class BillValues;
struct DraftOptions;

// A saved bill's row (column -> text) into the bill's values, as its form shows it reopened:
// every stored field, the date fields from the stored date and, on a draft, the amount's capital
// text and cells under `options` (whose currency is the row's).
void loadStoredBill(BillValues &bill, const QHash<QString, QString> &row,
                    const DraftOptions &options);
