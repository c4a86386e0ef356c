#pragma once

#include "bills/BillValues.h"
#include "print/PrintJob.h"

#include <QPointer>

class AppServices;
class QComboBox;
class QWidget;

// The print job a bill form embeds, over the form's picture panel (whose fields print) and its
// template drop-down. The steps keep the names the batch windows call.
class BillPrintJob
{
public:
    BillPrintJob(AppServices &services, BillKind kind, QWidget *panel, QComboBox *templateBox);

    PrintJob &job() { return m_job; }

    bool PrintPrepare(int checkTypeId);
    bool PrinterTransBegin(int copies);
    // Prints the panel's values; the draft passes its currency's abbreviation, the number is not
    // used.
    bool SendCheckToPrinter(int unused = 0, const QString &moneyCode = {});
    bool SendCheckToPrinter(const BillValues &bill) { return m_job.SendCheckToPrinter(bill); }
    // The panel's printable fields and `more`, as the bill of `checkTypeId`. The receiver's
    // prompt is emptied on the form first, so nobody mistakes it for a value.
    BillValues panelValues(int checkTypeId, const QString &moneyCode, const QStringList &more = {});
    bool NewCheckPage() { return m_job.NewCheckPage(); }
    bool PrinterTransEnd() { return m_job.PrinterTransEnd(); }
    void PrinterTransAbort() { m_job.PrinterTransAbort(); }

private:
    void clearReceiverPrompt();

    AppServices &m_services;
    BillKind m_kind;
    PrintJob m_job;
    QPointer<QWidget> m_panel;
    QPointer<QComboBox> m_templateBox;
};
