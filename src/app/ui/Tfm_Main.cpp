#include "app/ui/Tfm_Main.h"

#include "app/ui/PictureMdiArea.h"
#include "app/ui/PrintServiceTray.h"
#include "app/ui/Tfm_About.h"
#include "app/ui/TfrmConfig.h"
#include "app/ui/TfrmDatabaseMove.h"
#include "base/CurrentOperator.h"
#include "base/DateDisplay.h"
#include "base/FontMap.h"
#include "base/RunPath.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "batch/ui/TfrmImport.h"
#include "batch/ui/TfrmImportMatchCDHP.h"
#include "batch/ui/TfrmMutiPrint.h"
#include "batch/ui/TfrmMutiPrintCDHP.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "history/ui/TfmSearch_CDHP.h"
#include "history/ui/TfmSearch_KDD.h"
#include "online/ServiceCheck.h"
#include "online/ui/ServicePageView.h"
#include "online/ui/TfrmUp2NewVersion.h"
#include "parties/ui/AddressBookWindows.h"
#include "parties/ui/Tfm_DMConfig.h"
#include "parties/ui/TfrmCom.h"
#include "parties/ui/TfrmMatchAddr.h"
#include "parties/ui/TfrmSsSet.h"
#include "print/ui/PrinterSetupDialog.h"
#include "print/ui/TfmLockPrinter.h"
#include "print/ui/TfrmPrintOffset.h"
#include "print/ui/TfrmPrintScale.h"
#include "services/AppServices.h"
#include "services/InstallRecord.h"
#include "services/Maintenance.h"
#include "templates/ui/TfmCheckDesign.h"
#include "templates/ui/TfrmBillImportExport.h"
#include "templates/ui/TfrmCheckTypeMng.h"
#include "users/ui/TfrmUserLogin.h"
#include "users/ui/TfrmUserManage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>
#include <utility>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kFrameSection = QStringLiteral("FM_MAIN");
const QString kToolBarKey = QStringLiteral("TOOLBARMAIN");
const QColor kBarColour(205, 217, 245);

QString firstUseText()
{
    return QStringLiteral(
        "  第一次使用软件【3步走】：\n"
        "\n"
        "  1、【固定打印机的挡板位置】\n"
        "     把票据打印机左边的挡板固定在一个位置（例如爱普生630K/635K放在15毫米处），\n"
        "     以后每次放纸都靠着挡板，不要再移动它。\n"
        "\n"
        "  2、【整体偏移校准】\n"
        "     先打印一张票据，对照纸上的格子，在“打印设置→打印整体偏移调整”里调整模板的\n"
        "     整体偏移，直到打印内容正好落在格子里（例如：右移-155，下移0，纵向打印）；\n"
        "     每点一次箭头按钮移动1毫米。\n"
        "\n"
        "  3、【锁定快递打印机】\n"
        "     在“打印设置→锁定/匹配票据打印机”里锁定你的针式票据打印机，\n"
        "     以后打印票据总是送到这台打印机。\n"
        "\n"
        "  【使用技巧】：  \n"
        "\n"
        "  ・单个项目位置不准：进入“设计模式”，拖动或微调该项目的打印位置。\n"
        "  ・票据上的两个红色框：点击即可从单位资料中挑选收款人或收件人。\n"
        "  ・下拉框里的常用内容（物品、始发站、备注等）在“字典管理”里增删。\n"
        "  ・不需要的项目，可在设计模式中永久隐藏。\n"
        "  ・从已保存的票据“克隆”，可以快速开出一张新票据。\n"
        "  ・批量打印建议使用第一行为标题的Excel表格（xls、xlsx或csv）。\n"
        "  ・复制一段地址文字后使用“地址串识别”，可自动拆分姓名、电话和地址。\n"
        "\n"
        "  ==========================================\n"
        "              【双击我关闭本提示】\n"
        "  ==========================================\n");
}

QString sidePanelText()
{
    return QStringLiteral("欢迎使用岚砚票据打印。\n\n"
                          "票据打印不准？先做“整体偏移校准”，再用“设计模式”微调单项。\n\n"
                          "点击这里访问在线服务中心，获取帮助、模板和升级。");
}

} // namespace

Tfm_Main::Tfm_Main(AppServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("fm_Main"));
    QFont frameFont(installedFontFamily(QStringLiteral("宋体")));
    frameFont.setPixelSize(12);
    setFont(frameFont);
    resize(914, 607);

    buildCentralArea();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildPopupMenu();
    buildFirstUseTips();

    InitBackGround(false);
    CurrentCheckTypeId = 0;
    IniFile &ini = m_services.settings().OpenUserIniFile();
    m_toolBar->setVisible(ini.readString(kFrameSection, kToolBarKey, QStringLiteral("1")) == u"1");
    if (screen() && screen()->size().height() < 750)
        m_panels[0]->setText(QStringLiteral("显示器分辨率太低"));
    InitBackGround(true);
    ClockTicks = 0;
    m_panels[4]->setText(QCoreApplication::applicationFilePath());
    checkRunFolder(QCoreApplication::applicationDirPath());
    setGloblyConfig();
    updateInstallRecord();
    setWindowTitle(u"岚砚承兑汇票打印V" + m_services.appVersion());
    m_printers->addItems(m_services.printEngine().printers());
    m_services.printEngine().setDefaultPrinter(
        m_services.settings().getConfigByname(QStringLiteral("DefaultPrinter")));
    installPrinterSetupDialog(m_services.printEngine(), this);
    LoadSysParam();
    // Nothing takes input, the bill form opened at start-up included, until an operator has
    // logged in on the clock's first tick.
    if (menuItem(QStringLiteral("mNeedLogin"))->isChecked())
        setEnabled(false);
    m_services.parties().holdDefaultDrawer(UseDefaultDrawer);
    m_printService =
        new PrintServiceTray(m_services, menuItem(QStringLiteral("mPrintService")), this);
    m_addressBook = new AddressBookWindows(m_services, this,
                                           [this] { openImport(ImportScenario::AddressBook, {}); });

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("TimerSystem"));
    connect(m_clock, &QTimer::timeout, this, &Tfm_Main::tick);
    m_clock->start(1000);
}

Tfm_Main::~Tfm_Main() = default;

// ---- layout -------------------------------------------------------------------------------

void Tfm_Main::buildCentralArea()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    m_mdi = new PictureMdiArea(central);
    m_mdi->setObjectName(QStringLiteral("Image1"));
    m_mdi->viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_mdi->viewport(), &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        if (!m_mdi->viewport()->childAt(pos))
            m_popupMenu->popup(m_mdi->viewport()->mapToGlobal(pos));
    });
    row->addWidget(m_mdi, 1);

    m_sidePanel = new QFrame(central);
    m_sidePanel->setObjectName(QStringLiteral("panalAd"));
    m_sidePanel->setFixedWidth(125);
    m_sidePanel->setAutoFillBackground(true);
    QPalette sidePalette = m_sidePanel->palette();
    sidePalette.setColor(QPalette::Window, QColor(235, 242, 252));
    m_sidePanel->setPalette(sidePalette);
    auto *side = new QVBoxLayout(m_sidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    auto *header = new QFrame(m_sidePanel);
    header->setObjectName(QStringLiteral("Panel3"));
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, kBarColour);
    header->setPalette(headerPalette);
    auto *headerRows = new QVBoxLayout(header);
    headerRows->setContentsMargins(4, 4, 4, 4);
    headerRows->setSpacing(2);
    auto *title = new QLabel(QStringLiteral("在线服务中心  "), header);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    headerRows->addWidget(title);
    auto *hide = new ClickableLabel(QStringLiteral("[隐藏]"), header);
    hide->setObjectName(QStringLiteral("lbHide"));
    hide->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(hide, &ClickableLabel::clicked, m_sidePanel, &QWidget::hide);
    headerRows->addWidget(hide);
    side->addWidget(header);
    m_sideLabel = new ClickableLabel({}, m_sidePanel);
    m_sideLabel->setObjectName(QStringLiteral("LabelX"));
    m_sideLabel->setWordWrap(true);
    m_sideLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_sideLabel->setMargin(6);
    m_sideLabel->hide();
    connect(m_sideLabel, &ClickableLabel::clicked, this,
            [this] { openPage(m_services.web().sidePanelPage()); });
    side->addWidget(m_sideLabel, 1);
    row->addWidget(m_sidePanel);

    m_printers = new QComboBox(central);
    m_printers->setObjectName(QStringLiteral("cbPrinters"));
    m_printers->hide();

    setCentralWidget(central);
}

QAction *Tfm_Main::addItem(QMenu *menu, const char *name, const QString &caption,
                           std::function<void()> action, const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    if (action)
        connect(item, &QAction::triggered, this, std::move(action));
    return item;
}

QAction *Tfm_Main::addDisabled(QMenu *menu, const char *name, const QString &caption,
                               const QKeySequence &shortcut)
{
    QAction *item = addItem(menu, name, caption, {}, shortcut);
    item->setEnabled(false);
    return item;
}

QAction *Tfm_Main::addOption(QMenu *menu, const char *name, const QString &caption,
                             const QString &key)
{
    QAction *item = addItem(menu, name, caption);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item, key] { toggleOption(item, key); });
    return item;
}

QAction *Tfm_Main::menuItem(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void Tfm_Main::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *newCheck = bar->addMenu(QStringLiteral("新票据填开(&F)"));
    newCheck->setObjectName(QStringLiteral("nNewCheck"));
    buildNewBillMenu(newCheck);
    buildHistoryMenu();
    buildPrintMenu();
    buildSystemMenu();

    QAction *toolBarToggle = bar->addAction(QStringLiteral("显示/隐藏工具栏(&L)"));
    toolBarToggle->setObjectName(QStringLiteral("nHiddenOrShowBar"));
    connect(toolBarToggle, &QAction::triggered, this, &Tfm_Main::toggleToolBar);

    buildToolsMenu();
    buildHelpMenu();
}

void Tfm_Main::buildNewBillMenu(QMenu *menu)
{
    m_newBillMenu = menu->addMenu(QStringLiteral("填开新票据"));
    m_newBillMenu->setObjectName(QStringLiteral("nBankCheck"));
    m_newBillMenu->menuAction()->setObjectName(QStringLiteral("nBankCheck"));
    QMenu *m = m_newBillMenu;
    addDisabled(m, "m_new_zp", QStringLiteral("支票"), QKeySequence(Qt::CTRL | Qt::Key_B));
    addDisabled(m, "m_new_jzd", QStringLiteral("进账单"), QKeySequence(Qt::CTRL | Qt::Key_A));
    addDisabled(m, "m_new_dhd", QStringLiteral("电汇单"), QKeySequence(Qt::CTRL | Qt::Key_D));
    addDisabled(m, "m_new_JKD", QStringLiteral("现金缴款单"));
    addItem(m, "m_new_cdhp", QStringLiteral("承兑汇票"), [this] { openAcceptanceDraft(); });
    addDisabled(m, "m_new_JWH", QStringLiteral("境外汇款申请"));
    m->addSeparator();
    addDisabled(m, "m_new_Receipts", QStringLiteral("普通发票收据"));
    addDisabled(m, "m_new_CKSP", QStringLiteral("出口商品发票"));
    addDisabled(m, "m_new_IVIntel", QStringLiteral("国际货运发票"));
    m->addSeparator();
    addItem(m, "m_new_kdd", QStringLiteral("填写快递单"), [this] { openExpressSlip(); });
    addItem(m, "m_multi_kdd", QStringLiteral("批量打印快递单"),
            [this] { pressExpressBatchPrint(); });
    for (auto [name, caption] : {std::pair{"m_new_DJPZ", "贷记凭证"},
                                 std::pair{"m_new_hp", "汇票申请书"}, std::pair{"N13", "支票背书"}})
        addDisabled(m, name, QString::fromUtf8(caption))->setVisible(false);

    QMenu *invoices = menu->addMenu(QStringLiteral("其他发票收据"));
    invoices->menuAction()->setObjectName(QStringLiteral("nIVCheck"));
    for (const char *caption : {"国地税发票", "增值税发票", "海运业发票", "其他发票"})
        invoices->addAction(QString::fromUtf8(caption))->setEnabled(false);
    QMenu *custom = menu->addMenu(QStringLiteral("其他定制票据"));
    custom->menuAction()->setObjectName(QStringLiteral("N43"));
    for (const char *caption : {"珠宝质保单", "单位收付款单"})
        custom->addAction(QString::fromUtf8(caption))->setEnabled(false);
    custom->menuAction()->setEnabled(false);
    QMenu *sales = menu->addMenu(QStringLiteral("填开销售单"));
    sales->menuAction()->setObjectName(QStringLiteral("nSaleCheck"));
    for (const char *caption : {"销售单", "送货单"})
        sales->addAction(QString::fromUtf8(caption))->setEnabled(false);
    addItem(menu, "m_CloseALL", QStringLiteral("关闭所有填开单据"),
            [this] { m_mdi->closeAllSubWindows(); });
}

void Tfm_Main::buildHistoryMenu()
{
    QMenu *m = menuBar()->addMenu(QStringLiteral("历史开票管理(&S)"));
    m->menuAction()->setObjectName(QStringLiteral("S1"));
    addDisabled(m, "mZPSearch", QStringLiteral("支票管理(&Z)"));
    addDisabled(m, "mJZDSearch", QStringLiteral("进帐单管理(&J) "));
    addDisabled(m, "mDHDSearch", QStringLiteral("电汇单管理(&D)"));
    addItem(m, "mCDHPSearch", QStringLiteral("承兑汇票管理"), [this] {
        openHistory(new TfmSearch_CDHP(m_services, this), SavedBill::AcceptanceDraft);
    });
    addDisabled(m, "m_search_JWH", QStringLiteral("境外汇款申请书管理"));
    addDisabled(m, "mJKDSearch", QStringLiteral("现金缴款单管理"));
    addItem(m, "mKDDSearch", QStringLiteral("快递单管理"),
            [this] { openHistory(new TfmSearch_KDD(m_services, this), SavedBill::ExpressSlip); });
    addDisabled(m, "mReceiptSearch", QStringLiteral("收据及发票管理"));
    addDisabled(m, "mSearch_IVIntel", QStringLiteral("国际货运发票管理"));
    addDisabled(m, "mSearch_CKSP", QStringLiteral("出口商品发票管理"));
}

void Tfm_Main::buildPrintMenu()
{
    QMenu *m = menuBar()->addMenu(QStringLiteral("打印设置(&P)"));
    m->menuAction()->setObjectName(QStringLiteral("C1"));
    addItem(m, "mTemplateProperty", QStringLiteral("打印整体偏移调整(&M)"), [this] {
        // The item's tag names a template when positive; otherwise the open bill's.
        const int tag = menuItem(QStringLiteral("mTemplateProperty"))->data().toInt();
        auto *offset = new TfrmPrintOffset(m_services, this);
        offset->setAttribute(Qt::WA_DeleteOnClose);
        offset->setCheckTypeId(tag > 0 ? tag : CurrentCheckTypeId);
        std::optional<int> design;
        connect(offset, &TfrmPrintOffset::designRequested, this,
                [&design](int id) { design = id; });
        offset->exec();
        // The design mode takes over once the calibration window is gone.
        if (design) {
            CurrentCheckTypeId = *design;
            menuItem(QStringLiteral("nDesign"))->trigger();
        }
    });
    addItem(m, "mPrintScale", QStringLiteral("打印位置与比例校准(&S)"), [this] {
        auto *scale = new TfrmPrintScale(m_services, this);
        scale->setAttribute(Qt::WA_DeleteOnClose);
        scale->setCheckTypeId(CurrentCheckTypeId);
        scale->exec();
    });
    m->addSeparator();
    addItem(m, "mLockPrinter", QStringLiteral("锁定/匹配票据打印机"), [this] {
        auto *lock = new TfmLockPrinter(m_services, this);
        lock->setAttribute(Qt::WA_DeleteOnClose);
        lock->exec();
    });
    addItem(m, "PrinterConfig", QStringLiteral("打印机设置 (&C)"),
            [this] { m_services.printEngine().PrinterConfigClick(); });
    m->addSeparator();
    addItem(m, "N8", QStringLiteral("添加打印机纸张规格"),
            [this] { openPage(m_services.web().paperSizePage()); });
    m->addSeparator();
    // Checked and unchecked by the clerk; the tray below starts and stops the service.
    addItem(m, "mPrintService", QStringLiteral("本机打印服务（供订单系统调用）"));
}

void Tfm_Main::buildSystemMenu()
{
    QMenu *m = menuBar()->addMenu(QStringLiteral("系统管理(&M)"));
    m->menuAction()->setObjectName(QStringLiteral("N12"));
    addItem(m, "PersonalInfoManage", QStringLiteral("单位及客户资料管理(&K) "),
            [this] { m_addressBook->openManage(); });
    addItem(m, "nDesign", QStringLiteral("设计模式（票据模板界面及打印效果调整）"),
            [this] { openDesignMode(); });
    m->addSeparator();
    addItem(m, "nImpExp", QStringLiteral("票据模板导入"), [this] { openTemplatePackages(); });
    addItem(m, "nTempManage", QStringLiteral("票据模板管理（默认、显示、隐藏）"), [this] {
        TfrmCheckTypeMng window(m_services, CurrentCheckTypeId, this);
        window.exec();
    });
    m->addSeparator();
    addItem(m, "BaseSet", QStringLiteral("字典管理设置(&N) 用途、始发站等"), [this] {
        Tfm_DMConfig dialog(m_services, CurrentCheckTypeId, this);
        dialog.exec();
    });
    addItem(m, "N21", QStringLiteral("币种设置"), [this] {
        TfrmCom dialog(m_services, this);
        dialog.exec();
    })->setVisible(false);
    addItem(m, "MenuSsSet", QStringLiteral("省市代码设置(&O)"), [this] {
        TfrmSsSet dialog(m_services, this);
        dialog.exec();
    });
    m->addSeparator();
    addItem(m, "N23", QStringLiteral("更改系统登录密码"), [this] {
        TfrmUserManage users(m_services, this);
        users.exec();
    });
    m->addSeparator();
    addItem(m, "mDatabaseUpgrade", QStringLiteral("数据库升级（转入老版本数据）"),
            [this] { openDatabaseUpgrade(); });
}

void Tfm_Main::openTemplatePackages(const QString &package)
{
    TfrmBillImportExport window(m_services, this);
    if (!package.isEmpty())
        QTimer::singleShot(0, &window, [&window, package] { window.openPackage(package); });
    window.exec();
}

void Tfm_Main::openDatabaseUpgrade()
{
    TfrmUp2NewVersion upgrade(m_services, this);
    upgrade.setProgramFile(QCoreApplication::applicationFilePath());
    upgrade.exec();
}

void Tfm_Main::buildToolsMenu()
{
    QMenu *m = menuBar()->addMenu(QStringLiteral("工具(&T)"));
    m->menuAction()->setObjectName(QStringLiteral("N16"));
    addItem(m, "updates", QStringLiteral("  在线升级"),
            [this] { openPage(m_services.web().upgradePage()); });
    addItem(m, "N10", QStringLiteral("  显示\\隐藏在线中心"),
            [this] { m_sidePanel->setVisible(!m_sidePanel->isVisible()); });
    addItem(m, "mResetTemps", QStringLiteral("  清除软件缓存文件"), [this] { clearCaches(); });
    addItem(m, "N1", QStringLiteral("  修复压缩数据库"), [this] { repairDatabase(); });
    addItem(m, "mMoveDatabase", QStringLiteral("  迁移到共享数据库"), [this] {
        TfrmDatabaseMove move(m_services, this);
        move.exec();
    });
    addItem(m, "mLockDeskTop", QStringLiteral("  锁定电脑屏幕"), [this] { lockScreen(); });
    m->addSeparator();
    QMenu *options = m->addMenu(QStringLiteral("  选项(&Y)"));
    options->menuAction()->setObjectName(QStringLiteral("mItem_config"));
    addOption(options, "mPopPrint", QStringLiteral("打印前弹出打印机配置窗口"),
              QStringLiteral("打印前弹出打印机设置"));
    addOption(options, "mNeedLogin", QStringLiteral("进入系统需要密码验证"),
              QStringLiteral("进入系统需验证"));
    options->addSeparator();
    addOption(options, "mOrderEffect", QStringLiteral("客户排序随使用频度变化"),
              QStringLiteral("客户随使用频度自动排序"))
        ->setVisible(false);
    addOption(options, "mSaveAfterPop", QStringLiteral("客户资料保存前补充完整"),
              QStringLiteral("客户资料保存前补充完整"))
        ->setVisible(false);
    QAction *clearWeight =
        addItem(options, "nClearWeight", QStringLiteral("更改收件人后清除费用、重量等项目"));
    clearWeight->setCheckable(true);
    clearWeight->setVisible(false);
    options->addSeparator()->setVisible(false);
    addOption(options, "mUseDefaultCPR", QStringLiteral("启用默认出票人"),
              QStringLiteral("启用默认出票人"));
    options->addSeparator();
    addItem(options, "mSystemOptions", QStringLiteral("系统选项..."),
            [this] { openSystemOptions(); });
    m->addSeparator();
    addItem(m, "N7", QStringLiteral("  邮政编码查询"),
            [this] { openPage(m_services.web().postcodePage()); });
    addItem(m, "CallCounter", QStringLiteral("  计算器 (&U)"), [this] { startCalculator(); });
}

void Tfm_Main::buildHelpMenu()
{
    QMenu *m = menuBar()->addMenu(QStringLiteral("帮 助(&H)"));
    m->menuAction()->setObjectName(QStringLiteral("H1"));
    addItem(m, "N9281", QStringLiteral("  升级到9.28"), [this] {
        openDatabaseUpgrade();
    })->setVisible(false);
    addItem(m, "AboutSystem", QStringLiteral("  关于 (&A)"), [this] { showAbout(); });
    addItem(
        m, "SystemHelp", QStringLiteral("  帮助 (&H)"),
        [this] { openPage(m_services.web().helpPage()); }, QKeySequence(Qt::Key_F1));
    addItem(m, "mRestartMe", QStringLiteral("  重启软件"), [this] { restart(); });
    addItem(m, "ExitSystem", QStringLiteral("  退出 (&Q)"), [this] { exitWithConfirmation(); });
}

void Tfm_Main::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBarMain"));
    m_toolBar->setObjectName(QStringLiteral("ToolBarMain"));
    m_toolBar->setMovable(false);
    m_toolBar->setFixedHeight(45);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setStyleSheet(QStringLiteral("QToolBar { background: rgb(205,217,245); border: 0; }"
                                            "QToolButton { min-width: 75px; max-height: 43px; }"));
    auto add = [this](const char *name, const QString &caption, QStyle::StandardPixmap icon,
                      const QString &hint, std::function<void()> action) {
        auto *button = new QToolButton(m_toolBar);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(caption);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(hint.isEmpty() ? caption : hint);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFixedSize(79, 43);
        if (action)
            connect(button, &QToolButton::clicked, this, std::move(action));
        m_toolBar->addWidget(button);
        return button;
    };
    QToolButton *newBill =
        add("ToolButton4", QStringLiteral("填开新票据"), QStyle::SP_FileIcon, {}, {});
    newBill->setMenu(m_newBillMenu);
    newBill->setPopupMode(QToolButton::InstantPopup);
    m_toolBar->addSeparator();
    add("ToolButton7", QStringLiteral("单位管理(&K)"), QStyle::SP_DirHomeIcon,
        QStringLiteral("单位及客户资料管理"),
        [this] { menuItem(QStringLiteral("PersonalInfoManage"))->trigger(); });
    add("ToolButton9", QStringLiteral("字典管理"), QStyle::SP_FileDialogDetailedView, {},
        [this] { menuItem(QStringLiteral("BaseSet"))->trigger(); });
    add("ToolButton2", QStringLiteral("模板管理"), QStyle::SP_FileDialogListView,
        QStringLiteral("导入、克隆、删除、默认模板"),
        [this] { menuItem(QStringLiteral("nTempManage"))->trigger(); });
    add("ToolButton15", QStringLiteral("新模板导入"), QStyle::SP_DialogOpenButton, {},
        [this] { menuItem(QStringLiteral("nImpExp"))->trigger(); });
    m_toolBar->addSeparator();
    add("ToolButton5", QStringLiteral("打印机(&C)"), QStyle::SP_ComputerIcon,
        QStringLiteral("打印机、打印方向及纸张设定（并不会启动打印）"),
        [this] { menuItem(QStringLiteral("PrinterConfig"))->trigger(); });
    m_toolBar->addSeparator();
    m_firstUserButton =
        add("btFirstUser", QStringLiteral("第一次用"), QStyle::SP_MessageBoxQuestion,
            QStringLiteral("第一次使用软件前简读"), [this] { toggleFirstUseTips(); });
    m_toolBar->addSeparator();
    add("ToolButton6", QStringLiteral("  退出 (&Q)"), QStyle::SP_DialogCloseButton,
        QStringLiteral("退出打印系统"), [this] { exitWithConfirmation(); });
}

void Tfm_Main::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setStyleSheet(QStringLiteral("QStatusBar { background: rgb(205,217,245); }"));
    bar->setSizeGripEnabled(false);
    const struct
    {
        int width;
        QString text;
    } panels[] = {
        {100, QStringLiteral("系统已就绪")},
        {150, QStringLiteral("建议分辨率:1024x768以上")},
        {200, QStringLiteral("当前时间:")},
        {140, QStringLiteral("请先做整体偏移校准")},
        {65, {}},
    };
    for (const auto &panel : panels) {
        auto *label = new QLabel(panel.text, bar);
        label->setMinimumWidth(panel.width);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        m_panels << label;
    }
    m_panels[3]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_panels[3]->setLayoutDirection(Qt::RightToLeft);
    for (int i = 0; i < 4; ++i)
        bar->addWidget(m_panels[i]);
    bar->addWidget(m_panels[4], 1);
}

void Tfm_Main::buildPopupMenu()
{
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu *m = m_popupMenu;
    addItem(m, "nCDHP", QStringLiteral("承兑汇票"), [this] { openAcceptanceDraft(); });
    addDisabled(m, "nRightZP", QStringLiteral("支票"));
    addDisabled(m, "nRightJZD", QStringLiteral("进账单"));
    addDisabled(m, "nRightDHD", QStringLiteral("电汇单-业务委托书"));
    addDisabled(m, "nRightJKD", QStringLiteral("缴款单"));
    addDisabled(m, "nJWH", QStringLiteral("境外汇款申请书"));
    m->addSeparator();
    addItem(m, "N5", QStringLiteral("快递单"), [this] { openExpressSlip(); });
    QMenu *invoices = m->addMenu(QStringLiteral("发票"));
    invoices->menuAction()->setObjectName(QStringLiteral("N17"));
    for (const char *caption : {"普通发票收据", "国际货运发票", "出口商品发票"})
        invoices->addAction(QString::fromUtf8(caption))->setEnabled(false);
    m->addSeparator();
    addItem(m, "n_freash", QStringLiteral("刷新"), [this] { InitBackGround(true); });
    addItem(m, "N15", QStringLiteral("帮助"), [this] { openPage(m_services.web().helpPage()); });
}

void Tfm_Main::buildFirstUseTips()
{
    m_firstRead = new QPlainTextEdit(centralWidget());
    m_firstRead->setObjectName(QStringLiteral("MemoFirstRead"));
    m_firstRead->setReadOnly(true);
    m_firstRead->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_firstRead->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont tipFont(installedFontFamily(QStringLiteral("宋体")));
    tipFont.setPixelSize(15);
    m_firstRead->setFont(tipFont);
    m_firstRead->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; }"));
    m_firstRead->setPlainText(firstUseText());
    m_firstRead->viewport()->installEventFilter(this);
    m_firstRead->hide();
}

// ---- services of the frame ---------------------------------------------------------------

bool Tfm_Main::IsExistsFormName(const QString &name)
{
    const QString wanted = name.trimmed().toUpper();
    for (QMdiSubWindow *child : m_mdi->subWindowList()) {
        const QWidget *form = child->widget();
        if (form && form->objectName().trimmed().toUpper() == wanted) {
            child->showNormal();
            m_mdi->setActiveSubWindow(child);
            child->raise();
            return true;
        }
    }
    return false;
}

void Tfm_Main::FormFaceSave(const QWidget &window)
{
    ::FormFaceSave(window, m_services.settings().userIni());
}

void Tfm_Main::FormFaceLoad(QWidget &window)
{
    ::FormFaceLoad(window, m_services.settings().userIni());
}

void Tfm_Main::InitBackGround(bool withPicture)
{
    if (withPicture) {
        const QPixmap picture(m_services.getRunPath() + u"Image/sys_bg.jpg");
        if (!picture.isNull()) {
            m_mdi->setPicture(picture);
            return;
        }
    }
    m_mdi->setPicture({});
    m_sideLabel->setText(sidePanelText());
    m_sideLabel->setToolTip(sidePanelText());
    m_sideLabel->show();
}

void Tfm_Main::setGloblyConfig()
{
    PopPrinterSetup = m_services.settings().isConfigOn(QStringLiteral("打印前弹出打印机设置"));
}

void Tfm_Main::LoadSysParam()
{
    const Settings &s = m_services.settings();
    const struct
    {
        const char *item;
        const char *key;
        bool *flag;
    } options[] = {
        {"mNeedLogin", "进入系统需验证", nullptr},
        {"mOrderEffect", "客户随使用频度自动排序", nullptr},
        {"mPopPrint", "打印前弹出打印机设置", &PopPrinterSetup},
        {"mSaveAfterPop", "客户资料保存前补充完整", &CompletePartyBeforeSave},
        {"mUseDefaultCPR", "启用默认出票人", &UseDefaultDrawer},
    };
    for (const auto &option : options) {
        const bool on = s.isConfigOn(QString::fromUtf8(option.key));
        menuItem(QString::fromLatin1(option.item))->setChecked(on);
        if (option.flag)
            *option.flag = on;
    }
}

void Tfm_Main::toggleOption(QAction *item, const QString &key)
{
    // Qt has already flipped the mark; the stored value is the opposite of the mark before.
    const bool wasMarked = !item->isChecked();
    const QString error = m_services.settings().setConfigByname(
        key, wasMarked ? QStringLiteral("no") : QStringLiteral("yes"));
    if (!error.isEmpty())
        m_services.ui().error(u"设置保存失败：" + error);
    LoadSysParam();
}

QMdiSubWindow *Tfm_Main::openBillWindow(const std::function<QWidget *()> &create)
{
    if (!m_mdi->subWindowList().isEmpty()) {
        m_services.ui().alert(QStringLiteral("请先关闭打开的单据！"), kPrompt);
        return nullptr;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget *form = create();
    QApplication::restoreOverrideCursor();
    if (!form)
        return nullptr;
    QMdiSubWindow *child = m_mdi->addSubWindow(form);
    child->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    return child;
}

void Tfm_Main::openExpressSlip()
{
    openBillWindow([this]() -> QWidget * {
        auto form = std::make_unique<TfmCheckKDD>(*this);
        // A kind without any template cannot be filled in: the form closes at once.
        return form->hasTemplate() ? form.release() : nullptr;
    });
}

void Tfm_Main::openDesignMode()
{
    // The open bill's template is the one to adjust.
    const BillForm *form = TfmCheckKDD::instance();
    if (!form)
        form = TfmCheckCDHP::instance();
    if (form && form->currentTemplate() > 0)
        CurrentCheckTypeId = form->currentTemplate();
    // On closing it rebuilds the template's layout cache and tells the catalogue's listeners,
    // so an open bill form can lay itself out again.
    TfmCheckDesign design(m_services, CurrentCheckTypeId, this);
    design.setOperatorRole(CurrentUserRole);
    design.exec();
}

namespace {

// Fills the open express slip form through its own operations, so the form reacts as to a
// party chosen in the address book.
void pasteIntoSlip(const TfrmMatchAddr::SlipPaste &paste)
{
    TfmCheckKDD *form = TfmCheckKDD::instance();
    if (!form)
        return;
    if (paste.asSender) {
        form->setSender(paste.party);
        return;
    }
    form->setReceiver(paste.party);
    form->zdSKRXSChange();
    // An empty remark never wipes goods or remark typed on the slip.
    if (paste.remark.isEmpty())
        return;
    if (paste.remarkToGoods)
        form->setFieldText(QStringLiteral("zdWPNR"), paste.remark);
    if (paste.remarkToRemark)
        form->setFieldText(QStringLiteral("zdBz"), paste.remark);
}

} // namespace

void Tfm_Main::openAddressRecognition()
{
    if (!m_matchAddr)
        m_matchAddr = new TfrmMatchAddr(m_services, this);
    m_matchAddr->setSlipMode(pasteIntoSlip);
    m_matchAddr->exec();
}

void Tfm_Main::openBatchAddressRecognition(std::function<void()> listChanged)
{
    if (!m_matchAddr)
        m_matchAddr = new TfrmMatchAddr(m_services, this);
    m_matchAddr->setBatchMode(std::move(listChanged));
    m_matchAddr->exec();
}

void Tfm_Main::openExpressBatchPrint()
{
    if (!m_expressBatch)
        m_expressBatch = new TfrmMutiPrint(
            m_services,
            {[this](std::function<void()> changed) { openBatchAddressRecognition(changed); },
             [this](std::function<void()> changed) { openBatchImport(changed); }},
            this);
    m_expressBatch->exec();
}

void Tfm_Main::openImport(ImportScenario scenario, const std::function<void()> &imported)
{
    auto *import = new TfrmImport(m_services, scenario, this);
    import->setAttribute(Qt::WA_DeleteOnClose);
    if (imported)
        connect(import, &TfrmImport::imported, this, imported);
    import->exec();
}

void Tfm_Main::openBatchImport(std::function<void()> listChanged)
{
    openImport(ImportScenario::BatchList, listChanged);
}

void Tfm_Main::pressExpressBatchPrint()
{
    if (!TfmCheckKDD::instance()) {
        m_services.ui().alert(QStringLiteral("没有填开单据，打印什么呢？"), kPrompt);
        return;
    }
    // What the form's "批量打印" does; the button itself is often hidden, and so disabled.
    openExpressBatchPrint();
}

void Tfm_Main::openAcceptanceDraft()
{
    openBillWindow([this]() -> QWidget * {
        auto form = std::make_unique<TfmCheckCDHP>(*this);
        // A kind without any template cannot be filled in: the form closes at once.
        return form->hasTemplate() ? form.release() : nullptr;
    });
}

void Tfm_Main::clearCaches()
{
    QString error;
    if (!Maintenance::clearTemplateCaches(m_services.database(), &error))
        m_services.ui().alert(u"清除软件缓存失败！" + error, kPrompt);
    Maintenance::clearUnusedPictures(m_services.database(), m_services.home());
    if (m_mdi->subWindowList().isEmpty()) {
        m_services.ui().alert(QStringLiteral("缓存清除成功！"), kPrompt);
        return;
    }
    m_services.ui().alert(QStringLiteral("缓存清除需要关闭开单界面重新打开！"), kPrompt);
    m_mdi->closeAllSubWindows();
}

void Tfm_Main::repairDatabase()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Maintenance::RepairResult r =
        Maintenance::repairDatabase(m_services.database(), m_services.home());
    QApplication::restoreOverrideCursor();
    if (r.ok)
        m_services.ui().alert(u"数据库检查完好，已压缩。\n修复前的副本：" + r.backupPath, kPrompt);
    else if (!r.error.isEmpty())
        m_services.ui().alert(u"数据库修复失败：" + r.error, QStringLiteral("错误"));
    else
        m_services.ui().alert(u"数据库检查发现问题，未做改动：\n" + r.integrity.left(500) +
                                  u"\n修复前的副本：" + r.backupPath,
                              QStringLiteral("警告"));
}

void Tfm_Main::lockScreen()
{
    for (const QStringList &command : Maintenance::lockScreenCommands()) {
        const QString program = QStandardPaths::findExecutable(command.first());
        if (!program.isEmpty() && QProcess::startDetached(program, command.mid(1)))
            return;
    }
    m_services.ui().alert(QStringLiteral("无法锁定屏幕：没有找到桌面的锁屏命令。"), kPrompt);
}

void Tfm_Main::startCalculator()
{
    const QString calculator = Maintenance::findCalculator();
    if (calculator.isEmpty() || !QProcess::startDetached(calculator, {}))
        m_services.ui().alert(QStringLiteral("系统计算器调用失败！没有找到桌面的计算器程序。"),
                              QStringLiteral("错误"));
}

void Tfm_Main::restart()
{
    if (!m_services.ui().alert(QStringLiteral("确定要重开软件吗?"), QStringLiteral("重启软件"),
                               true))
        return;
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty() || !close())
        return;
    QProcess::startDetached(QCoreApplication::applicationFilePath(),
                            QCoreApplication::arguments().mid(1));
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

TfrmMutiPrintCDHP *Tfm_Main::draftBatchWindow() const
{
    return m_draftBatch.data();
}

void Tfm_Main::openDraftBatchPrint()
{
    TfmCheckCDHP *form = TfmCheckCDHP::instance();
    if (!m_draftBatch && form) {
        m_draftBatch = new TfrmMutiPrintCDHP(
            m_services,
            {[this](const QString &group) {
                 TfmSearch_CDHP history(m_services, this);
                 history.setPickMode(group);
                 history.exec();
             },
             [this] { TfrmImportMatchCDHP(m_services, m_draftBatch).exec(); }},
            this);
        // The window prints through the form: it goes when the form goes.
        connect(form, &QObject::destroyed, m_draftBatch.data(), &QWidget::close);
    }
    if (m_draftBatch) {
        m_draftBatch->show();
        m_draftBatch->raise();
    }
}

void Tfm_Main::openHistory(HistoryWindow *history, SavedBill kind)
{
    history->setAttribute(Qt::WA_DeleteOnClose);
    history->setWindowModality(Qt::ApplicationModal);
    history->setReopen([this, kind](const QString &templateName, int billId) {
        return openSavedBill(kind, templateName, billId);
    });
    history->show();
}

bool Tfm_Main::openSavedBill(SavedBill kind, const QString &templateName, int billId)
{
    const QString title = QStringLiteral("查看历史单据");
    const QString formName = kind == SavedBill::ExpressSlip ? QStringLiteral("fmCheckKDD")
                                                            : QStringLiteral("fmCheckCDHP");
    auto openBills = [this] {
        QList<QWidget *> forms;
        for (QMdiSubWindow *child : m_mdi->subWindowList())
            if (child->isVisible() && child->widget())
                forms << child->widget();
        return forms;
    };
    const QList<QWidget *> open = openBills();
    const bool formOpen = std::any_of(open.begin(), open.end(), [&](const QWidget *form) {
        return form->objectName() == formName;
    });
    if (!open.isEmpty() && !formOpen) {
        if (!m_services.ui().ask(QStringLiteral("自动关闭已打开的单据吗？"), title)) {
            m_services.ui().alert(QStringLiteral("请先关闭正在编辑的单据模块！"), title);
            return false;
        }
        menuItem(QStringLiteral("m_CloseALL"))->trigger();
        // A form whose user kept its unsaved changes stays open.
        if (!openBills().isEmpty())
            return false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const bool slip = kind == SavedBill::ExpressSlip;
    auto openForm = [slip]() -> BillForm * {
        if (slip)
            return TfmCheckKDD::instance();
        return TfmCheckCDHP::instance();
    };
    if (BillForm *open = openForm(); open && !open->isSaved()) {
        // Closing asks about the bill being typed, so loading the saved one loses nothing.
        (open->parentWidget() ? open->parentWidget() : open)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (!openForm())
        menuItem(QString::fromLatin1(slip ? "m_new_kdd" : "m_new_cdhp"))->trigger();
    BillForm *form = openForm();
    if (!form)
        return false;
    form->BrowseOldCheck(templateName, QString::number(billId));
    return true;
}

void Tfm_Main::comingLater(const QString &what)
{
    m_services.ui().alert(u"“" + what + u"”将在后续版本中提供。", kPrompt);
}

void Tfm_Main::openPage(const QString &url)
{
    m_services.web().BrowseURL(url);
}

void Tfm_Main::showAbout()
{
    Tfm_About about(m_services.appVersion(), this);
    about.exec();
}

void Tfm_Main::openSystemOptions()
{
    TfrmConfig dialog(m_services, this);
    connect(&dialog, &TfrmConfig::saved, this, &Tfm_Main::LoadSysParam);
    dialog.exec();
}

void Tfm_Main::toggleToolBar()
{
    m_toolBar->setVisible(!m_toolBar->isVisible());
    IniFile &ini = m_services.settings().userIni();
    ini.writeString(kFrameSection, kToolBarKey,
                    m_toolBar->isVisible() ? QStringLiteral("1") : QStringLiteral("0"));
    m_services.settings().flushUserIni();
}

void Tfm_Main::toggleFirstUseTips()
{
    // The button sits in the tool bar, outside the central widget: map through the screen.
    const QPoint underButton =
        centralWidget()->mapFromGlobal(m_firstUserButton->mapToGlobal(QPoint(0, 0)));
    const int top =
        m_toolBar->isVisible() ? std::max(0, underButton.y() + m_firstUserButton->height()) : 0;
    m_firstRead->setGeometry(0, top, m_mdi->width(), m_mdi->height());
    m_firstRead->setVisible(!m_firstRead->isVisible());
    if (m_firstRead->isVisible())
        m_firstRead->raise();
}

bool Tfm_Main::exitWithConfirmation()
{
    if (!m_services.ui().alert(QStringLiteral("真的要退出【岚砚票据打印】系统吗？"),
                               QStringLiteral("确认"), true))
        return false;
    if (!close())
        return false;
    QCoreApplication::quit();
    return true;
}

void Tfm_Main::checkRunFolder(const QString &exeDir)
{
    if (!isRunFromArchive(exeDir))
        return;
    m_services.ui().alert(
        u"请不要从压缩包中直接运行软件，这样会使你的软件设置失效，建议：\r"
        u"  1、鼠标右击压缩包解压到非系统盘（例如： D:\\岚砚软件栎签宝V" +
            m_services.appVersion() +
            u"\\，再运行）;\r  2、使用软件前，请查看一下软件目录的：使用说明.txt; ",
        kPrompt);
    m_quitRequested = true;
}

void Tfm_Main::updateInstallRecord()
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                    QString::fromLatin1(InstallRecord::kOrganization),
                    QString::fromLatin1(InstallRecord::kApplication));
    if (!InstallRecord::update(store, m_services.getRunPath(), m_services.appVersion(),
                               QCoreApplication::applicationFilePath()))
        m_services.ui().alert(QStringLiteral("注册表读写错误！"), kPrompt);
}

void Tfm_Main::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_panels[2]->setText(u" 当前时间：" + DateDisplay::text(now.date()) + u' ' +
                         now.time().toString(QStringLiteral("HH:mm:ss")));
    ++ClockTicks;
    if (ClockTicks == 1 && menuItem(QStringLiteral("mNeedLogin"))->isChecked())
        askLogin();
    // A failed login leaves the frame disabled on its way out.
    if (ClockTicks == 1 && !m_startPackage.isEmpty() && isEnabled())
        openTemplatePackages(std::exchange(m_startPackage, {}));
    if (ClockTicks == 2)
        startServiceCheck();
}

void Tfm_Main::startServiceCheck()
{
    auto *check = new ServiceCheck(m_services.web().host(), m_services.web().productQuery(), this);
    check->useHttps(m_services.web().usesHttps());
    connect(check, &ServiceCheck::finished, this,
            [this, check](bool reachable, const QString &page) {
                check->deleteLater();
                showServicePage(reachable, page);
            });
    check->start();
}

void Tfm_Main::showServicePage(bool reachable, const QString &page)
{
    auto *view = m_sidePanel->findChild<QTextBrowser *>(QStringLiteral("webAd"));
    if (reachable && !view) {
        view = new ServicePageView(m_sidePanel);
        view->setObjectName(QStringLiteral("webAd"));
        connect(view, &QTextBrowser::anchorClicked, this, &Tfm_Main::openServiceLink);
        m_sidePanel->layout()->addWidget(view);
    }
    if (view) {
        view->setHtml(page);
        view->setVisible(reachable);
    }
    if (reachable)
        m_sidePanel->show();
    if (screen() && screen()->geometry().width() < 1000)
        m_sidePanel->hide();
}

void Tfm_Main::openServiceLink(const QUrl &link)
{
    // Relative links are the service page's own; a link off the vendor's site is not opened.
    const QUrl url = QUrl(m_services.web().homePage()).resolved(link);
    if (m_services.web().isVendorAddress(url))
        m_services.ui().openUrl(url);
}

void Tfm_Main::askLogin()
{
    TfrmUserLogin login(m_services, this);
    // A window of its own: it stays usable while the frame waits for it, disabled.
    login.setEnabled(true);
    login.exec();
    CurrentUserName = login.userName;
    CurrentOperator::set(CurrentUserName);
    CurrentUserRole = login.userRole;
    // Without an operator who has a role the program does not run.
    if (CurrentUserRole.isEmpty()) {
        hide();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    setEnabled(true);
}

// ---- events -------------------------------------------------------------------------------

void Tfm_Main::closeEvent(QCloseEvent *event)
{
    // Bill windows get their chance to ask about unsaved work; one that stays open keeps the
    // frame open too.
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    m_services.settings().flushUserIni();
    event->accept();
}

void Tfm_Main::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_firstRead && m_firstRead->isVisible())
        toggleFirstUseTips();
}

bool Tfm_Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_firstRead->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        m_firstRead->hide();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
