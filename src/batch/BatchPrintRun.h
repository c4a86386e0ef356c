#pragma once

#include "bills/BillValues.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Database;
class PrintEngine;
class PrintJob;

// One batch of bills from batch list rows into one printer document: each row's bill starts
// from the fixed values and takes the row's. A stopped or failed batch throws the whole document
// away, so nothing half-done reaches the printer; the run is on record before the document is
// sent and marked sent after. Windows and the command line share it; neither owns the loop.
class BatchPrintRun
{
public:
    // Puts the row into the bill, a copy of the fixed values; answers why the row cannot print,
    // empty when it can.
    using Build = std::function<QString(BillValues &bill, int id)>;
    // Called after each row with the rows done and the total; false stops the batch.
    using Progress = std::function<bool(int done, int total)>;

    struct Outcome
    {
        int planned = 0;
        bool started = false;   // the document was begun
        bool cancelled = false; // stopped on request
        bool failed = false;    // the printer failed
        bool sent = false;      // the document reached the printer
        QList<int> printed;     // rows rendered into the document, in order
        QStringList skipped;    // why each skipped row was left out
        int run = 0;            // the run's number on record; 0 when it could not be stored
        QString printer;        // where the document went
        QString recordError;    // why the record could not be stored or marked sent
    };

    BatchPrintRun(Database &db, PrintEngine &engine, QString listTable, QString operatorName);

    // Prints the rows through a job already prepared for the bills' template, `copies` of the
    // whole document.
    Outcome run(PrintJob &job, const BillValues &fixed, const QList<int> &ids, const Build &build,
                const Progress &progress, int copies = 1);

private:
    void send(PrintJob &job, Outcome &out);

    Database &m_db;
    PrintEngine &m_engine;
    QString m_listTable;
    QString m_operator;
};
