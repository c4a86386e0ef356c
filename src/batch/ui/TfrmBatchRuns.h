#pragma once

#include "batch/BatchRunLog.h"

#include <QDialog>

class AppServices;
class QSpinBox;
class QPushButton;
class QTableWidget;

// The record of a batch list's runs: number, time, operator, printer, pages and state of each,
// and a reprint of any run from one of its rows, as after a paper jam.
class TfrmBatchRuns : public QDialog
{
    Q_OBJECT
public:
    TfrmBatchRuns(AppServices &services, const QString &listTable, QWidget *parent = nullptr);

    // The rows to print again, in the run's order; empty unless the clerk chose a reprint.
    const QList<int> &chosenRows() const { return m_chosen; }

    // Tells the clerk about runs of the list cut off while they were being sent (the program
    // was killed, the power failed) and keeps them on record as unconfirmed.
    static void reportInterrupted(AppServices &services, const QString &listTable,
                                  const QString &bills);

private:
    void runChosen();
    void reprintFrom();

    QList<BatchRun> m_runs;
    QList<int> m_chosen;
    QTableWidget *gridRuns = nullptr;
    QSpinBox *spFromRow = nullptr;
    QPushButton *btReprintFrom = nullptr;
};
