#include "print/PdfPrint.h"

#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"

bool printBillsToPdf(Database &db, Ui &ui, Settings &settings, BillKind kind, int checkTypeId,
                     const std::vector<BillValues> &bills, const QString &pdfPath)
{
    PrintEngine engine(db, ui, settings, QtPrintDevice::pdfFile(pdfPath));
    engine.setDialogsAllowed(false);
    PrintJob job(engine, kind);
    if (bills.empty() || !job.PrintPrepare(checkTypeId) || !job.PrinterTransBegin(1))
        return false;
    for (size_t i = 0; i < bills.size(); ++i) {
        if (!job.SendCheckToPrinter(bills[i]))
            return false;
        if (i + 1 < bills.size() && !job.NewCheckPage())
            return false;
    }
    return job.PrinterTransEnd();
}
