#pragma once

#include "templates/TemplateImport.h"

#include <QDialog>

class AppServices;
class ClickableLabel;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

// Imports templates from a template package and writes packages of local templates.
class TfrmBillImportExport : public QDialog
{
    Q_OBJECT
public:
    // Clicks on the export page's notice, with the window maximized, that show the export panel.
    static constexpr int kClicksToExport = 5;

    explicit TfrmBillImportExport(AppServices &services, QWidget *parent = nullptr);

    // Only the import page, as template management opens it.
    void showImportOnly();

    // The package list's buttons, the import and the export.
    void choosePackage();
    // Lists a package as choosing it does: a file opened with the program comes this way.
    void openPackage(const QString &path);
    void selectOne();
    void selectAll();
    void clearSelection();
    void importSelected();
    void chooseExportFile();
    void exportSelected();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    void reject() override;

private:
    QWidget *buildImportPage();
    QWidget *buildExportPage();
    // Lists the package's templates; the first one goes to the import list when asked.
    void listPackage(bool moveFirst);
    void setListButtonsEnabled(bool enabled);
    void showExportPage();
    void countNoticeClick();
    void showPackagePicture(QListWidgetItem *item);
    void showLocalPicture(QListWidgetItem *item);
    void recordError(const QString &text);
    // Lets the window repaint its progress; answers false once the user asked to stop.
    bool keepGoing();

    AppServices &m_services;
    TemplateImport m_import;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_packagePath = nullptr;
    QListWidget *m_packageList = nullptr;
    QListWidget *m_importList = nullptr;
    QPushButton *m_selectOne = nullptr;
    QPushButton *m_selectAll = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_importButton = nullptr;
    QLabel *m_importProgress = nullptr;
    ClickableLabel *m_notice = nullptr;
    QWidget *m_exportPanel = nullptr;
    QListWidget *m_localList = nullptr;
    QListWidget *m_exportList = nullptr;
    QLineEdit *m_exportPath = nullptr;
    QPushButton *m_exportButton = nullptr;
    QLabel *m_exportProgress = nullptr;
    int m_noticeClicks = 0;
    bool m_busy = false;
    bool m_stopRequested = false;
};
