#pragma once

#include "print/PrintItem.h"

#include "print/PrintCalibration.h"
#include "print/PrintDevice.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class Database;
struct PrintItem;
class Settings;
class Ui;

// One for the whole program: set by a successful preparation, cleared at the start of every
// preparation, by a cancelled setup dialog, by a printer error and at the end of a job.
struct PrintContext
{
    bool printReady = false;
    // Set by the acceptance draft before its items are rendered.
    QString moneyCode;
    int cellWidth = 0; // 0.1 mm
};

// The print engine: the printer, the print context and the rendering of template items at
// their positions on the paper.
class PrintEngine
{
public:
    PrintEngine(Database &db, Ui &ui, Settings &settings, std::unique_ptr<PrintDevice> device);
    ~PrintEngine();

    PrintContext &context() { return m_context; }
    PrintDevice &device() { return *m_device; }
    Database &database() { return m_db; }
    Ui &ui() { return m_ui; }
    // Another device (a PDF file, a test's recorder); the printer list is read again.
    void setDevice(std::unique_ptr<PrintDevice> device);

    // The installed printers, as listed on first use.
    const QStringList &printers();
    void refreshPrinters();
    // The printer setDefaultPrinter selected last; empty while the system's default is used.
    const QString &selectedPrinter() const { return m_selectedPrinter; }
    void setDefaultPrinter(const QString &name);
    // The printer setup dialog; answers whether the user confirmed it.
    bool PrinterConfigClick();
    // Whether the setup dialog shows before every job (the option "打印前弹出打印机设置");
    // never for a device without dialogs.
    bool popPrinterSetup() const;
    void setDialogsAllowed(bool allowed) { m_dialogsAllowed = allowed; }

    // Renders one item of a template: true when done or nothing to do, false after an error.
    bool printCheckItem(int checkTypeId, int xMove, int yMove, const QString &ctlName,
                        const QString &value, const QString &separator);
    bool printTextAt(int x, int y, const QString &text, const QString &face, const QString &colour,
                     int size, bool bold, bool italic, bool underline);
    bool printSpacedText(int x, int y, const QString &text, const QString &face,
                         const QString &colour, int size, bool bold, bool italic, bool underline,
                         const QString &fitParam);
    // A cross centred at (x, y) with its number beside it, for the calibration sheet.
    bool printCross(int x, int y, const QString &number);
    // How the printer misplaces the print, corrected on every position after the whole-slip
    // offset; none unless a job set it.
    void setCalibration(const PrintCalibration &calibration) { m_calibration = calibration; }
    const PrintCalibration &calibration() const { return m_calibration; }
    // True once drawing failed on the device; cleared when a document begins.
    bool deviceFailed() const { return m_deviceFailed; }
    void clearDeviceFailure() { m_deviceFailed = false; }

    QString getHXPaperIn(int checkTypeId) const;
    int getCellsWidth(int checkTypeId, const QString &first, int defaultWidth,
                      const QString &second) const;

    // A job reads each template's items once; a new preparation reads them afresh, so edits
    // made between jobs (designer, calibration) always print.
    void forgetTemplateItems();
    // The template's items as stored now, by upper-cased name; nothing on a database error.
    std::optional<QHash<QString, PrintItem>> readTemplateItems(int checkTypeId) const;
    // The items the job prints for that template until the next preparation.
    void useTemplateItems(int checkTypeId, const QHash<QString, PrintItem> &items);

private:
    // The item of that name, or null when the template has none; false on a database error.
    bool findItem(int checkTypeId, const QString &ctlName, const PrintItem **item);
    bool drawLine(const PrintItem &item, int x, int y, const QString &line, int size);
    int moneyCodeShift() const;
    bool itemFailed(const QString &ctlName);
    // Device positions where the printer puts what they were meant to be.
    int calibratedX(int deviceX);
    int calibratedY(int deviceY);

    Database &m_db;
    Ui &m_ui;
    Settings &m_settings;
    std::unique_ptr<PrintDevice> m_device;
    PrintContext m_context;
    PrintCalibration m_calibration;
    int m_itemsTemplate = 0;           // template whose items are held, 0: none
    QHash<QString, PrintItem> m_items; // by upper-cased item name
    QStringList m_printers;
    bool m_printersListed = false;
    QString m_selectedPrinter;
    bool m_deviceFailed = false;
    bool m_dialogsAllowed = true;
};
