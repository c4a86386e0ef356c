#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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
};

// Prints one bill per batch list row through the open bill form, all in one printer document,
// showing "N / M" with "中止". Events are processed between slips so the window stays responsive;
// the painting stays on this thread. A stopped or failed batch throws the whole document away, so
// nothing half-done reaches the printer.
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
    };

    ExpressBatchPrinter(BillForm &form, Push push, QWidget *progressParent, Options options = {});

    Outcome run(const QList<int> &ids);

    // Stores the run that sent `printed`; answers its number, or 0 with *error.
    using RecordRun = std::function<int(const QList<int> &printed, QString *error)>;
    struct Summary
    {
        QString text;
        bool bad = false; // a warning: rows skipped, nothing sent or the record not stored
    };
    // The clerk's summary of a run that started; a sent run is recorded first.
    Summary summarize(const Outcome &outcome, const RecordRun &record) const;

    // Called after each row, with the dialog, the rows done and the total (tests stop here).
    std::function<void(QProgressDialog &progress, int done, int total)> rowDone;

private:
    BillForm &m_form;
    Push m_push;
    QWidget *m_progressParent;
    Options m_options;
};
