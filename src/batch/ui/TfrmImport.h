#pragma once

#include "base/ReaderProcess.h"

#include "batch/ImportItems.h"
#include "batch/SpreadsheetImport.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>

class AppServices;
class ImportLog;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class SpreadsheetReader;

// The spreadsheet import into the address book or the batch list: choose a file and a sheet,
// check the automatic matching of its column titles, import. Files are read on a worker
// thread and rows stored in chunks between events, so the window never freezes.
class TfrmImport : public QDialog
{
    Q_OBJECT
public:
    TfrmImport(AppServices &services, ImportScenario scenario, QWidget *parent = nullptr);
    ~TfrmImport() override;

    // ed_fileChange: opens the file; the reading finishes later (see isBusy).
    void openFile(const QString &path);
    void btBrowseClick();
    void btStartClick();
    void btStopItClick();
    void btLogClick();
    // btReadyMatchClick: every item's column read back from its box.
    void btReadyMatchClick();

    // A file is being read or rows are being stored.
    bool isBusy() const { return m_reading || m_import != nullptr; }
    QComboBox *box(const QString &item) const { return m_boxes.value(item); }

Q_SIGNALS:
    // Rows were stored; the windows that list them refresh.
    void imported();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    QWidget *buildOptions();
    QWidget *buildMatching();
    void addBoxes(QWidget *parent, size_t from, size_t to);
    void loadSettings();
    void storeSetting(const QString &name, const QString &value);
    struct Reading
    {
        std::unique_ptr<SpreadsheetReader> reader;
        QString error;
    };
    // Runs `work` in a worker thread, with the progress of the reading window, then takes its
    // reader back here and calls fileRead.
    void readInBackground(const QString &label,
                          std::function<void(Reading &, const ReaderProcess::Progress &)> work);
    void fileRead(const QString &error);
    void sheetChosen(int index);
    void fillColumnLists();
    void autoNewMatchProperty();
    int itemIndex(const QString &item) const;
    void applyFixedUnitType();
    void releaseFile();
    void importNextChunk();
    void importEnded();
    void setStatus(const QString &text);

    AppServices &m_services;
    ImportScenario m_scenario;
    const std::vector<ImportItem> &m_items;
    std::vector<int> m_columns;
    std::vector<int> m_autoColumns;

    QRadioButton *rdSJR = nullptr;
    QRadioButton *rdMutiPrint = nullptr;
    QLineEdit *ed_file = nullptr;
    QPushButton *btBrowse = nullptr;
    QComboBox *cboWorkSheets = nullptr;
    QCheckBox *ckName = nullptr;
    QCheckBox *ckContactor = nullptr;
    QCheckBox *ckPhone = nullptr;
    QCheckBox *ckJudgeRepeated = nullptr;
    QCheckBox *ckAlert = nullptr;
    QCheckBox *ckReadLog = nullptr;
    QCheckBox *ckOrderIDOn = nullptr;
    QCheckBox *ckMemeberIDOn = nullptr;
    QCheckBox *cfgWPSFirst = nullptr;
    QCheckBox *ckFixACCType = nullptr;
    QGroupBox *grpAddr = nullptr;
    QGroupBox *grpMutiPrint = nullptr;
    QPushButton *btStart = nullptr;
    QPushButton *btStopIt = nullptr;
    QPushButton *btLog = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *lblResult = nullptr;
    QHash<QString, QComboBox *> m_boxes;

    std::unique_ptr<SpreadsheetReader> m_reader;
    QStringList m_titles;
    class QThread *m_thread = nullptr;
    class ReadingDialog *m_readingDialog = nullptr; // while m_thread reads
    bool m_reading = false;
    bool m_stop = false;
    std::unique_ptr<ImportLog> m_log;
    std::unique_ptr<SpreadsheetImport> m_import;
};
