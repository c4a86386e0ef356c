#include "print/ui/PrinterSetupDialog.h"

#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"

#include <QPointer>
#include <QPrintDialog>

void installPrinterSetupDialog(PrintEngine &engine, QWidget *parent)
{
    auto *device = dynamic_cast<QtPrintDevice *>(&engine.device());
    if (!device)
        return;
    QPointer<QWidget> owner(parent);
    device->setSetupDialog([owner](QPrinter &printer) {
        // Printer, paper and orientation; copies and pages are the job's business.
        QPrintDialog dialog(&printer, owner);
        dialog.setWindowTitle(QStringLiteral("打印机设置"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        return dialog.exec() == QDialog::Accepted ? PrintDevice::SetupResult::Accepted
                                                  : PrintDevice::SetupResult::Cancelled;
    });
}
