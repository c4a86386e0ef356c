#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class AppServices;
class BillValues;
class PrintJob;
class QProgressDialog;
class QWidget;
class BillForm;

struct BatchPrintOptions
{
    QString title = QStringLiteral("批量打印快递单");
    // What the summary calls the bills, and the rows when none could print.
    QString bills = QStringLiteral("快递单");
    QString rows = QStringLiteral("条目");
    // The batch list the rows come from, for the run record.
    QString listTable = QStringLiteral("ReceiverList");
};

// Prints one bill per batch list row, all in one printer document, showing "N / M" with "中止".
// Each bill starts from the open form's values (its template, fixed parties, options and what it
// hides) and takes the row's; the form's widgets are never filled. Events are processed between
// slips so the window stays responsive; the painting stays on this thread. A stopped or failed
// batch throws the whole document away, so nothing half-done reaches the printer. The run is on
// record before the document is sent.
class ExpressBatchPrinter
{
public:
    // Puts the row into the bill, a copy of the form's values; answers why the row cannot print,
    // empty when it can.
    using Push = std::function<QString(BillValues &bill, int id)>;

    using Options = BatchPrintOptions;

    struct Outcome
    {
        int planned = 0;
        bool started = false;   // the printer was prepared and the document begun
        bool cancelled = false; // the user pressed "中止"
        bool failed = false;    // the printer failed
        bool sent = false;      // the document reached the printer
        QList<int> printed;     // rows rendered into the document, in order
        QStringList skipped;    // why each skipped row was left out
        int run = 0;            // the run's number on record; 0 when it could not be stored
        QString printer;        // where the document went
        QString recordError;    // why the record could not be stored or marked sent
    };

    ExpressBatchPrinter(AppServices &services, BillForm &form, Push push, QWidget *progressParent,
                        Options options = {});

    Outcome run(const QList<int> &ids);

    struct Summary
    {
        QString text;
        bool bad = false; // a warning: rows skipped, nothing sent or the record not stored
    };
    // The clerk's summary of a run that started.
    Summary summarize(const Outcome &outcome) const;

    // Called after each row, with the dialog, the rows done and the total (tests stop here).
    std::function<void(QProgressDialog &progress, int done, int total)> rowDone;

private:
    // Before a batch on a reopened history bill: the clerk is told and the form becomes a new
    // bill. False when the clerk keeps the history bill: nothing prints.
    bool leaveHistory(BillForm &form) const;
    // The form's bill and a print job prepared for its template; false when there is nothing
    // to print with (the clerk was told why, or cancelled the printer setup).
    bool prepare(PrintJob &job, BillValues &fixed);
    // Sends the complete document, on record before and after.
    void send(PrintJob &job, Outcome &out);

    AppServices &m_services;
    BillForm &m_form;
    Push m_push;
    QWidget *m_progressParent;
    Options m_options;
};
