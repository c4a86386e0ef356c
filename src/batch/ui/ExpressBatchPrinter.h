#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class AppServices;
class QProgressDialog;
class QWidget;
class BillForm;

struct BatchPrintOptions
{
    QString title = QStringLiteral("批量打印快递单");
    // The express form skips its look-ups while filling; the draft form must run its
    // conversions, so it is filled as the clerk would.
    bool filling = true;
    // What the summary calls the bills, and the rows when none could print.
    QString bills = QStringLiteral("快递单");
    QString rows = QStringLiteral("条目");
    // The batch list the rows come from, for the run record.
    QString listTable = QStringLiteral("ReceiverList");
};

// Prints one bill per batch list row through the open bill form, all in one printer document,
// showing "N / M" with "中止". Events are processed between slips so the window stays responsive;
// the painting stays on this thread. A stopped or failed batch throws the whole document away, so
// nothing half-done reaches the printer. The run is on record before the document is sent.
class ExpressBatchPrinter
{
public:
    // Fills the form with the row; answers why the row cannot print, empty when it can.
    using Push = std::function<QString(BillForm &form, int id)>;

    using Options = BatchPrintOptions;

    struct Outcome
    {
        int planned = 0;
        bool started = false;   // the printer was prepared and the document begun
        bool cancelled = false; // the user pressed "中止"
        bool failed = false;    // the printer or the form failed
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
    // Sends the complete document, on record before and after.
    void send(BillForm &form, Outcome &out);

    AppServices &m_services;
    BillForm &m_form;
    Push m_push;
    QWidget *m_progressParent;
    Options m_options;
};
