#pragma once

#include "bills/BillKind.h"
#include "bills/BillValues.h"
#include "cli/ProgressLine.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class AppServices;
class PrintEngine;
class PrintJob;
class QTextStream;
class SpreadsheetReader;
struct Template;
struct TemplateBill;

// What `lanyan print` was asked to do.
struct PrintRequest
{
    QString templateText; // a template's number or name
    QString valuesFile;   // a spreadsheet, one bill per row below the titles
    int sheet = 1;        // the worksheet, from 1
    int fromRow = 2;      // the first spreadsheet row to print
    QString bill;         // "kdd:ID" or "cdhp:ID": one stored bill
    QString printer;      // a queue, or empty with `pdf`
    QString pdf;          // a PDF file instead of a printer
    int copies = 1;
    bool json = false;
};

// `lanyan print`: bills of one template from a spreadsheet, or one stored bill, printed through
// the same engine, offsets, calibration and rules as the windows into one printer document.
// Spreadsheet rows go into the kind's batch list first (matched by the import's column titles),
// so the run is on record as a batch window's is and can be printed again from there.
class PrintCommand
{
public:
    enum Exit { Done = 0, BadInput = 2, PrinterRefused = 3, Stopped = 4 };

    PrintCommand(AppServices &services, QTextStream &out, QTextStream &err);

    int run(const PrintRequest &request);

    // Prints to that queue, or into the PDF file when one is named; never shows a dialog.
    static bool chooseOutput(PrintEngine &engine, const QString &printer, const QString &pdf,
                             QString *error);

    // Asked between bills; true stops the run and throws its document away.
    std::function<bool()> stopRequested;

private:
    struct Rows
    {
        QString listTable;
        QList<int> ids;
        std::function<QString(BillValues &bill, int id)> build;
    };

    int fail(int code, const QString &message);
    std::optional<Template> findTemplate(const QString &text, QString *error) const;
    std::optional<Rows> rowsFromSheet(const TemplateBill &start, const PrintRequest &request,
                                      QString *error);
    std::optional<Rows> rowsFromBill(const TemplateBill &start, const QString &bill,
                                     QString *error);
    bool importSlips(SpreadsheetReader &sheet, const PrintRequest &request, Rows &rows,
                     QString *error);
    bool importDrafts(SpreadsheetReader &sheet, const PrintRequest &request, Rows &rows,
                      QString *error);
    QList<int> idsAfter(const QString &table, int lastId) const;
    int lastId(const QString &table) const;
    bool progress(int done, int total);
    // A stored bill printed for the first time keeps the version it printed with.
    void keepFirstPrint(const PrintJob &job, BillKind kind, int billId);

    AppServices &m_services;
    QTextStream &m_out;
    QTextStream &m_err;
    int m_checkTypeId = 0;
    QSet<QString> m_slipColumns; // the batch list columns the spreadsheet fills
    ProgressLine m_progress;
    bool m_json = false;
};
