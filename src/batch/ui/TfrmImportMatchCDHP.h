#pragma once

#include <QDialog>
#include <QList>
#include <memory>

class AppServices;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class DraftImportRun;
class ImportLog;
class SpreadsheetReader;

// The draft spreadsheet import: a file chosen, its title columns matched to the draft batch
// list's columns by a fixed table (the clerk may change any), every row stored in the list,
// chunk by chunk between events, with progress and "中止导入".
class TfrmImportMatchCDHP : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportMatchCDHP(AppServices &services, QWidget *parent = nullptr);
    ~TfrmImportMatchCDHP() override;

    void btBrowseClick();
    // A change of the file: lists its titles and matches them. The same path again changes
    // nothing, so a mapping the clerk changed stays.
    void chooseFile(const QString &path);
    // Starts the import; it goes on between events (see isBusy).
    void btStartClick();
    void btStopItClick();
    void btLogClick();
    bool isBusy() const { return m_run != nullptr; }

    QComboBox *list(int item) const { return m_lists.value(item); }

    void reject() override;

private:
    QWidget *buildSource();
    void importNextChunk();
    void importEnded();
    QWidget *buildMatching();
    bool openFile();

    AppServices &m_services;
    std::unique_ptr<SpreadsheetReader> m_sheet;
    QList<QComboBox *> m_lists;
    QLineEdit *ed_file = nullptr;
    QPushButton *btStart = nullptr;
    QPushButton *btStopIt = nullptr;
    QPushButton *btLog = nullptr;
    QPushButton *btBrowse = nullptr;
    std::unique_ptr<ImportLog> m_log;
    std::unique_ptr<DraftImportRun> m_run;
    QProgressBar *m_progress = nullptr;
    QLabel *lblResult = nullptr;
};
