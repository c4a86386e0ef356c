#pragma once

#include "batch/ImportItems.h"
#include "services/BillHost.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>

class AddressBookWindows;
class AppServices;
class ClickableLabel;
class HistoryWindow;
class PictureMdiArea;
class PrintServiceTray;
class QComboBox;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolBar;
class QToolButton;
class QUrl;
class TfrmMatchAddr;
class TfrmMutiPrint;
class TfrmMutiPrintCDHP;

// The main frame: menus, tool bar, status bar, background and side panel; it opens every
// other window and holds the state they share.
class Tfm_Main : public QMainWindow, public BillHost
{
    Q_OBJECT
public:
    explicit Tfm_Main(AppServices &services, QWidget *parent = nullptr);
    ~Tfm_Main() override;

    AppServices &services() override { return m_services; }
    int currentCheckTypeId() const override { return CurrentCheckTypeId; }
    void setCurrentCheckTypeId(int id) override { CurrentCheckTypeId = id; }
    bool useDefaultDrawer() const override { return UseDefaultDrawer; }

    // Shared state of the open bill window and the operator.
    int CurrentCheckTypeId = 0;
    QString CurrentUserName;
    QString CurrentUserRole;
    bool PopPrinterSetup = false;
    bool CompletePartyBeforeSave = false;
    bool UseDefaultDrawer = false;
    int ClockTicks = 0;

    PictureMdiArea *mdiArea() const { return m_mdi; }
    PrintServiceTray *printService() const { return m_printService; }
    QAction *menuItem(const QString &objectName) const override;

    bool IsExistsFormName(const QString &name);
    void FormFaceSave(const QWidget &window);
    void FormFaceLoad(QWidget &window);
    void InitBackGround(bool withPicture);
    void setGloblyConfig();
    void LoadSysParam();

    // Opens a bill window made by `create` as a child, unless one is open already: only one
    // bill window at a time. Answers the new child, or null.
    QMdiSubWindow *openBillWindow(const std::function<QWidget *()> &create);

    // Opens a saved bill in its form for viewing and printing again, closing other bill windows
    // when the user agrees. Answers true when the bill is shown.
    enum class SavedBill { ExpressSlip, AcceptanceDraft };
    bool openSavedBill(SavedBill kind, const QString &templateName, int billId);

    // Windows the express slip form opens through the frame.
    void openAddressRecognition() override;
    void openExpressBatchPrint() override;
    // The batch list's "识别复制串或输入": rows go to the list, which `listChanged` refreshes.
    void openBatchAddressRecognition(std::function<void()> listChanged);
    void openDraftBatchPrint() override;
    TfrmMutiPrintCDHP *draftBatchWindow() const;
    // The acceptance draft form ("承兑汇票"); the program opens it at start-up.
    void openAcceptanceDraft();
    // The batch list's "导入Excel ": the spreadsheet import in its batch list scenario; rows
    // go to the list, which `listChanged` refreshes.
    void openBatchImport(std::function<void()> listChanged);
    // The menu's batch command presses the open express slip form's "批量打印".
    void pressExpressBatchPrint();

    // The window of "票据模板导入"; with a package file it lists that package at once.
    void openTemplatePackages(const QString &package = {});
    // A package the program was started with: its import opens on the clock's first tick,
    // after the login where one is asked, so it never goes past the login.
    void importAtStart(const QString &package) { m_startPackage = package; }

    void showAbout();
    void openSystemOptions();
    void toggleToolBar();
    void toggleFirstUseTips();
    // Help menu exit: asks first; answers whether the frame closed.
    bool exitWithConfirmation();

    // Started from inside an archive or a temporary folder (`exeDir`): warns and asks the
    // program to end. A quit posted now would be lost before the event loop runs, so start-up
    // asks quitRequested() instead of starting the loop.
    void checkRunFolder(const QString &exeDir);
    bool quitRequested() const { return m_quitRequested; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildNewBillMenu(QMenu *menu);
    void buildHistoryMenu();
    void buildPrintMenu();
    void buildSystemMenu();
    void buildToolsMenu();
    void buildHelpMenu();
    void buildToolBar();
    void buildStatusBar();
    void buildCentralArea();
    void buildPopupMenu();
    void buildFirstUseTips();

    QAction *addItem(QMenu *menu, const char *name, const QString &caption,
                     std::function<void()> action = {}, const QKeySequence &shortcut = {});
    QAction *addDisabled(QMenu *menu, const char *name, const QString &caption,
                         const QKeySequence &shortcut = {});
    QAction *addOption(QMenu *menu, const char *name, const QString &caption, const QString &key);
    void toggleOption(QAction *item, const QString &key);
    void comingLater(const QString &what);
    // The spreadsheet import; `imported` runs after rows were stored.
    void openImport(ImportScenario scenario, const std::function<void()> &imported);
    void openPage(const QString &url);
    void openExpressSlip();
    void openDesignMode();
    void openDatabaseUpgrade();
    void openHistory(HistoryWindow *history, SavedBill kind);
    void updateInstallRecord();
    void tick();
    void askLogin();
    void startServiceCheck();
    void openServiceLink(const QUrl &link);
    void showServicePage(bool reachable, const QString &page);
    // Maintenance commands of the Tools and Help menus.
    void clearCaches();
    void repairDatabase();
    void lockScreen();
    void startCalculator();
    void restart();

    AppServices &m_services;
    bool m_quitRequested = false;
    QString m_startPackage;
    PictureMdiArea *m_mdi = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_newBillMenu = nullptr;
    QMenu *m_popupMenu = nullptr;
    QToolButton *m_firstUserButton = nullptr;
    QPlainTextEdit *m_firstRead = nullptr;
    QWidget *m_sidePanel = nullptr;
    ClickableLabel *m_sideLabel = nullptr;
    QComboBox *m_printers = nullptr;
    QList<QLabel *> m_panels;
    QTimer *m_clock = nullptr;
    AddressBookWindows *m_addressBook = nullptr;
    PrintServiceTray *m_printService = nullptr;
    TfrmMatchAddr *m_matchAddr = nullptr;
    TfrmMutiPrint *m_expressBatch = nullptr;
    QPointer<TfrmMutiPrintCDHP> m_draftBatch; // destroyed when closed
};
