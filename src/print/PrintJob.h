#pragma once

#include "bills/BillKind.h"
#include "print/TemplateVersion.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class BillValues;
class PrintEngine;

// What differs between the print jobs of the two bill kinds.
struct BillPrintProfile
{
    QString kindName; // the kind's name in the item dictionary
    QString chooseTemplateMessage;
    // The receiver field and the prompt it shows until a receiver is chosen; never printed.
    QString receiverField;
    QString receiverPrompt;
    int maxCopies = 0; // 0: no limit
    bool setsMoneyCode = false;

    static const BillPrintProfile &of(BillKind kind);
};

// One print job of a bill form: prepare, begin, send each bill (a new page between two), end.
// While the print context is not ready every step does nothing and answers false, so a
// cancelled setup dialog quietly prints nothing. A printer error aborts the document, tells
// the user and makes the remaining steps do nothing.
class PrintJob
{
public:
    // The printable value of a bill field, by its name.
    using ValueOf = std::function<QString(const QString &ctlName)>;

    PrintJob(PrintEngine &engine, BillKind kind);
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    const BillPrintProfile &profile() const { return m_profile; }

    // Prepares the template as it stands now.
    bool PrintPrepare(int checkTypeId);
    // Prepares a version a bill was printed with: its items, offset and paper, and its
    // calibration when the same printer prints again (another printer corrects by its own).
    bool PrintPrepare(const TemplateVersion &version);
    // What the prepared job prints with, calibrated for the printer in use.
    const TemplateVersion &version() const { return m_version; }
    // Records version(); its number, 0 with *error on failure.
    int recordVersion(QString *error) const;
    bool PrinterTransBegin(int copies);
    // Renders every printable item of the kind; the draft passes its currency's abbreviation.
    bool SendCheckToPrinter(const ValueOf &valueOf, const QString &moneyCode = {});
    // Renders one bill's values: hidden fields print nothing.
    bool SendCheckToPrinter(const BillValues &bill);
    // The names of the kind's printable items, in print order; empty when they cannot be read
    // (the user was told why).
    QStringList printItemNames() const;
    bool NewCheckPage();
    // The calibration sheet of the prepared template: four numbered crosses near the form's
    // corners, shifted by the whole-slip offset.
    bool SendCalibrationSheet();
    // True when the document reached the printer (or its file).
    bool PrinterTransEnd();
    // Throws the open document away (a batch stopped half-way): nothing of it prints.
    void PrinterTransAbort();

    // The template being printed and its whole-slip offset, read by the preparation.
    int CheckTypeId = 0;
    int Xmove = 0;
    int Ymove = 0;
    // The form's paper, 0.1 mm, read by the preparation.
    QSize paperSize() const { return m_paper; }
    // Whether the printer's calibration corrects the print; its own test sheet goes without.
    bool calibrated = true;

private:
    // A printable item's name and its upper-cased type.
    using PrintItemName = std::pair<QString, QString>;
    std::optional<QList<PrintItemName>> printItems() const;
    bool ready() const;
    bool printerFailed();
    bool printersInstalled();
    // The template's version as stored now; nothing when it cannot be read (the user was told).
    std::optional<TemplateVersion> readVersion(int checkTypeId);
    bool prepare(const TemplateVersion &version);
    // The calibration of the printer now selected.
    void loadCalibration();

    PrintEngine &m_engine;
    const BillPrintProfile &m_profile;
    bool m_documentOpen = false;
    QSize m_paper;
    TemplateVersion m_version;
    // The printer and calibration of the version being printed again.
    std::optional<std::pair<QString, PrintCalibration>> m_firstCalibration;
};
