#pragma once

#include "batch/BatchPrintRun.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class AppServices;
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

// A batch printed from a window: the open form's values (its template, fixed parties, options
// and what it hides) as every bill's start, the printer setup, and "N / M" with "中止" while
// BatchPrintRun prints the rows; the form's widgets are never filled. Events are processed
// between bills so the window stays responsive; the painting stays on this thread.
class ExpressBatchPrinter
{
public:
    using Push = BatchPrintRun::Build;
    using Options = BatchPrintOptions;
    using Outcome = BatchPrintRun::Outcome;

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

    AppServices &m_services;
    BillForm &m_form;
    Push m_push;
    QWidget *m_progressParent;
    Options m_options;
};
