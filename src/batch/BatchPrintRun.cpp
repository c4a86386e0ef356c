#include "batch/BatchPrintRun.h"

#include "batch/BatchRunLog.h"
#include "print/PrintEngine.h"
#include "print/PrintJob.h"
#include "print/QtPrintDevice.h"

#include <QPrinter>

namespace {

// The queue the document goes to, or the file for a PDF.
QString printerName(PrintEngine &engine)
{
    if (auto *device = dynamic_cast<QtPrintDevice *>(&engine.device())) {
        QPrinter &printer = device->printer();
        return printer.outputFileName().isEmpty() ? printer.printerName()
                                                  : printer.outputFileName();
    }
    return engine.selectedPrinter();
}

} // namespace

BatchPrintRun::BatchPrintRun(Database &db, PrintEngine &engine, QString listTable,
                             QString operatorName)
    : m_db(db)
    , m_engine(engine)
    , m_listTable(std::move(listTable))
    , m_operator(std::move(operatorName))
{}

BatchPrintRun::Outcome BatchPrintRun::run(PrintJob &job, const BillValues &fixed,
                                          const QList<int> &ids, const Build &build,
                                          const Progress &progress, int copies)
{
    Outcome out;
    out.planned = int(ids.size());
    if (ids.isEmpty())
        return out;
    if (!job.PrinterTransBegin(copies)) {
        out.failed = true;
        return out;
    }
    out.started = true;
    for (int i = 0; i < ids.size(); ++i) {
        BillValues bill = fixed;
        const QString why = build(bill, ids[i]);
        if (why.isEmpty()) {
            // A new page between two bills, none after the last.
            if (!(out.printed.isEmpty() || job.NewCheckPage()) || !job.SendCheckToPrinter(bill)) {
                out.failed = true;
                break;
            }
            out.printed << ids[i];
        } else {
            out.skipped << why;
        }
        const bool last = i + 1 == ids.size();
        if (progress && !progress(i + 1, out.planned) && !last) {
            out.cancelled = true;
            break;
        }
    }

    if (out.cancelled || out.failed || out.printed.isEmpty())
        job.PrinterTransAbort();
    else
        send(job, out);
    if (!out.sent && !out.cancelled && !out.printed.isEmpty())
        out.failed = true;
    return out;
}

void BatchPrintRun::send(PrintJob &job, Outcome &out)
{
    BatchRunLog log(m_db, m_listTable);
    out.printer = printerName(m_engine);
    // Without a record nothing is sent: rows on paper must never look unprinted.
    out.run = log.begin(out.printed, out.printer, m_operator, &out.recordError);
    if (out.run == 0) {
        job.PrinterTransAbort();
        return;
    }
    out.sent = job.PrinterTransEnd();
    if (out.sent)
        log.sent(out.run, &out.recordError);
    else
        log.notSent(out.run, &out.recordError);
}
