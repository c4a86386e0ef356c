#pragma once

#include "bills/BillValues.h"
#include "print/PrintJob.h"

#include <QString>
#include <vector>

class Database;
class Settings;
class Ui;

// Prints bills of one template into a PDF file on the template's paper, one page per bill,
// through the same engine and job steps as paper; no dialog is shown. False when the file was
// not written; the user was told why through `ui`.
bool printBillsToPdf(Database &db, Ui &ui, Settings &settings, BillKind kind, int checkTypeId,
                     const std::vector<BillValues> &bills, const QString &pdfPath);
