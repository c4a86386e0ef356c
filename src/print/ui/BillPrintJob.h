#pragma once

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
    // The draft passes its currency's abbreviation; the number is not used.
    bool SendCheckToPrinter(int unused = 0, const QString &moneyCode = {});
    bool NewCheckPage() { return m_job.NewCheckPage(); }
    bool PrinterTransEnd() { return m_job.PrinterTransEnd(); }
    void PrinterTransAbort() { m_job.PrinterTransAbort(); }

private:
    AppServices &m_services;
    PrintJob m_job;
    QPointer<QWidget> m_panel;
    QPointer<QComboBox> m_templateBox;
};
