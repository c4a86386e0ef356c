#include "print/ui/BillPrintJob.h"

#include "base/Ui.h"
#include "print/ui/ControlValue.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QLineEdit>

BillPrintJob::BillPrintJob(AppServices &services, BillKind kind, QWidget *panel,
                           QComboBox *templateBox)
    : m_services(services)
    , m_kind(kind)
    , m_job(services.printEngine(), kind)
    , m_panel(panel)
    , m_templateBox(templateBox)
{}

bool BillPrintJob::PrintPrepare(int checkTypeId)
{
    m_services.printEngine().context().printReady = false;
    if (!m_templateBox || m_templateBox->currentText().isEmpty()) {
        if (m_templateBox)
            m_templateBox->setVisible(true);
        m_services.ui().alert(m_job.profile().chooseTemplateMessage, QStringLiteral("提示"));
        return false;
    }
    return m_job.PrintPrepare(checkTypeId);
}

bool BillPrintJob::PrinterTransBegin(int copies)
{
    return m_job.PrinterTransBegin(copies);
}

void BillPrintJob::clearReceiverPrompt()
{
    if (!m_panel)
        return;
    const auto fields = m_panel->findChildren<QWidget *>();
    for (QWidget *field : fields) {
        if (field->objectName().compare(m_job.profile().receiverField, Qt::CaseInsensitive) != 0)
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(field);
            edit && edit->text() == m_job.profile().receiverPrompt)
            edit->clear();
        // The draft's payee is a drop-down.
        if (auto *box = qobject_cast<QComboBox *>(field);
            box && box->currentText() == m_job.profile().receiverPrompt)
            box->setEditText({});
    }
}

BillValues BillPrintJob::panelValues(int checkTypeId, const QString &moneyCode,
                                     const QStringList &more)
{
    clearReceiverPrompt();
    BillValues bill(m_kind, checkTypeId);
    bill.setMoneyCode(moneyCode);
    QStringList names = m_job.printItemNames();
    for (const QString &name : more)
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    readControls(m_panel, names, bill, m_services.ui());
    return bill;
}

bool BillPrintJob::SendCheckToPrinter(int, const QString &moneyCode)
{
    return SendCheckToPrinter(panelValues(m_job.CheckTypeId, moneyCode));
}
