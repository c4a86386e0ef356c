#pragma once

#include "print/PrintJob.h"

#include <QHash>
#include <QString>
#include <vector>

class Database;
class Settings;
class Ui;

// The values of one bill by item name (compared without regard to case), plus the draft's
// currency abbreviation.
struct BillValues
{
    QHash<QString, QString> items;
    QString moneyCode;

    void set(const QString &ctlName, const QString &value) { items[ctlName.toUpper()] = value; }
    QString value(const QString &ctlName) const { return items.value(ctlName.toUpper()); }
};

// Prints bills of one template into a PDF file on the template's paper, one page per bill,
// through the same engine and job steps as paper; no dialog is shown. False when the file was
// not written; the user was told why through `ui`.
bool printBillsToPdf(Database &db, Ui &ui, Settings &settings, BillKind kind, int checkTypeId,
                     const std::vector<BillValues> &bills, const QString &pdfPath);
