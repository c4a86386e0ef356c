#include "bills/ui/TfmCheckKDD.h"

#include "app/AppServices.h"
#include "base/IniFile.h"
#include "base/Ui.h"
#include "bills/AmountText.h"
#include "bills/ExpressSlipFields.h"
#include "bills/ExpressSlipRules.h"
#include "bills/ExpressSlipStore.h"
#include "bills/ui/BillHost.h"
#include "bills/ui/PartyFrame.h"
#include "data/Parties.h"
#include "data/PartyBlocks.h"
#include "parties/Dictionaries.h"
#include "print/ui/BillPrintJob.h"
#include "templates/Catalogue.h"
#include "templates/ui/FormLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TfmCheckKDD *s_instance = nullptr;

const QString kPrompt = QStringLiteral("提示");
const QString kSection = QStringLiteral("FMCHECKKDD");
const QString kKind = QString::fromUtf8(TfmCheckKDD::kKind);
const QString kCommonTemplatesTab = QStringLiteral("配置常用模板");
const QString kPlainAmount = QStringLiteral("打印小写金额");

const QStringList kDateFields{"zdNian", "zdYue", "zdRi", "zdTime", "SelDate"};
const QStringList kReceiverFields{"zdSKR",      "zdSKRLXR",       "zdSKRS",    "zdSKRXS",
                                  "zdskrDH",    "zdSKRYB",        "zdSkrDZ",   "edtSJRTown",
                                  "skrHandset", "edtCountryDest", "cbDestSite"};
const QStringList kSenderFields{"zdHKR",      "zdHKRLXR",       "zdHKRS",     "zdHKRXS",
                                "zdhkrDH",    "zdHKRYB",        "zdHkrDZ",    "edtFJRTown",
                                "hkrHandset", "edtCountryFrom", "cbFromSite", "zdSign"};
const QStringList kNewSlipClears{"zdSKR",      "zdSKRS",     "zdSKRXS",        "zdskrDH",
                                 "zdSKRLXR",   "zdSKRYB",    "zdPJBH",         "zdSkrDZ",
                                 "skrHandset", "edtSJRTown", "edtCountryDest", "cbDestSite",
                                 "edtWeight",  "edtMoney",   "edtAmount",      "zdWPNR",
                                 "zdBz"};
// Typed per slip but not stored: a reopened slip shows them empty.
const QStringList kUnstoredSlipValues{"zdJFKHBM", "zdSFKHBM"};
constexpr int kPresetOptionBoxes = 13;

QString textOf(const QWidget *w)
{
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *m = qobject_cast<const QPlainTextEdit *>(w))
        return m->toPlainText();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    return {};
}

void setTextOf(QWidget *w, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        m->setPlainText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setEditText(text);
}

QString shortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

} // namespace

TfmCheckKDD::TfmCheckKDD(BillHost &frame, QWidget *parent)
    : QWidget(parent)
    , m_frame(frame)
    , m_services(frame.services())
{
    setObjectName(QStringLiteral("fmCheckKDD"));
    s_instance = this;
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    buildToolBar();
    buildTemplatePanel();
    buildPicturePanel();
    buildOptionsBar();
    m_printJob = std::make_unique<BillPrintJob>(m_services, BillKind::ExpressSlip, panelImgBg,
                                                cbFirstTypeName);

    // Creation: find the kind's default template and lay the form out for it.
    m_saveMessages = true;
    m_billId = -1;
    Catalogue &catalogue = m_services.catalogue();
    m_defaultTemplate = catalogue.loadDefaultCheckTypeId(kKind);
    if (m_defaultTemplate <= 0)
        return;
    const QString name = catalogue.loadCheckTypeLastNameByID(QString::number(m_defaultTemplate));
    m_frame.setCurrentCheckTypeId(m_defaultTemplate);
    if (m_frame.useDefaultDrawer())
        setSender(m_services.parties().DefaultDrawer());
    SelDate->setDate(QDate::currentDate());
    updateDateFields();
    if (cbFirstTypeName->count() == 0)
        reloadTypeNameList();
    m_currentTemplate = m_defaultTemplate;
    setCurrentCheckType(name);
    m_initialisedTemplate = 0;
    cbFirstTypeNameChange();
    buildCommonBlocks();
}

TfmCheckKDD::~TfmCheckKDD()
{
    if (s_instance == this)
        s_instance = nullptr;
}

TfmCheckKDD *TfmCheckKDD::instance()
{
    return s_instance;
}

// ---- building ---------------------------------------------------------------------------

QToolButton *TfmCheckKDD::addButton(const char *name, const QString &caption, const QString &hint,
                                    void (TfmCheckKDD::*slot)())
{
    auto *button = new QToolButton(toolBarCheck);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    if (slot)
        connect(button, &QToolButton::clicked, this, slot);
    m_buttonActions.insert(button->objectName(), toolBarCheck->addWidget(button));
    return button;
}

void TfmCheckKDD::buildToolBar()
{
    toolBarCheck = new QToolBar(this);
    toolBarCheck->setObjectName(QStringLiteral("toolBarCheck"));
    toolBarCheck->setFixedHeight(52);
    toolBarCheck->setIconSize(QSize(20, 20));
    m_layout->addWidget(toolBarCheck);
    const struct
    {
        const char *name;
        const char *caption;
        const char *hint;
        QStyle::StandardPixmap icon;
        void (TfmCheckKDD::*slot)();
    } buttons[] = {
        {"btPosition", "下", "", QStyle::SP_ArrowDown, &TfmCheckKDD::moveToolBar},
        {"btDesign", "设计模式", "单据模板的细节项目调整", QStyle::SP_FileDialogDetailedView,
         nullptr},
        {"btSaveSKRen", "存收件人", "保存收件人到地址本（收发件人管理）", QStyle::SP_DirHomeIcon,
         &TfmCheckKDD::btSaveSKRenClick},
        {"btPaste", "地址串识别(&W)", "粘贴识别外部收货地址", QStyle::SP_FileDialogContentsView,
         nullptr},
        {"btOpenCheck", "打开(&O)", "打开历史保存的快递单数据", QStyle::SP_DialogOpenButton,
         nullptr},
        {"btNewCheck", "新建(&N)", "重填一张新单", QStyle::SP_FileIcon, &TfmCheckKDD::btNewClick},
        {"btSaveAs", "复制(&C)", "将保存过的单据复制为一张新单~", QStyle::SP_FileDialogNewFolder,
         &TfmCheckKDD::btSaveAsClick},
        {"btSaveCheck", "保存(&S)", "保存填写的快递数据", QStyle::SP_DialogSaveButton,
         &TfmCheckKDD::btSaveCheckClick},
        {"btPrint1", "单张打印(&P)", "打印一张当前填写的单子", QStyle::SP_ComputerIcon,
         &TfmCheckKDD::btPrint1Click},
        {"btPrintAndSave", "打印并保存", "打印一张当前填写的单子并保存", QStyle::SP_DriveFDIcon,
         &TfmCheckKDD::btPrintAndSaveClick},
        {"btMultiPrintS", "批量打印", "打印固定发件人+ 收件人列表", QStyle::SP_FileDialogListView,
         nullptr},
        {"btMultiPrintF", "重复打印", "重复打印多份当前填写的单子", QStyle::SP_BrowserReload,
         &TfmCheckKDD::btMultiPrintFClick},
        {"btClose", "关闭&C", "", QStyle::SP_DialogCloseButton, nullptr},
        {"btMoveXY", "整体偏移", "打印整体偏移", QStyle::SP_ArrowRight, nullptr},
    };
    for (const auto &b : buttons) {
        QToolButton *button =
            addButton(b.name, QString::fromUtf8(b.caption), QString::fromUtf8(b.hint), b.slot);
        button->setIcon(style()->standardIcon(b.icon));
    }
    // A tool bar shows or hides its widgets through their actions.
    for (const char *hidden : {"btMultiPrintS", "btMultiPrintF"})
        m_buttonActions.value(QString::fromLatin1(hidden))->setVisible(false);
    findChild<QToolButton *>(QStringLiteral("btSaveAs"))->setEnabled(false);
    // The buttons whose windows the main frame opens.
    auto frameCommand = [this](const char *button, const char *item, auto after) {
        connect(findChild<QToolButton *>(QString::fromLatin1(button)), &QToolButton::clicked, this,
                [this, item, after] {
                    if (QAction *a = m_frame.menuItem(QString::fromLatin1(item)))
                        a->trigger();
                    after();
                });
    };
    frameCommand("btOpenCheck", "mKDDSearch", [] {});
    frameCommand("btDesign", "nDesign", [this] {
        // The design mode may have changed the template: read its layout again.
        m_initialisedTemplate = 0;
        initFormType();
    });
    connect(findChild<QToolButton *>(QStringLiteral("btMoveXY")), &QToolButton::clicked, this,
            [this] {
                m_frame.setCurrentCheckTypeId(m_currentTemplate);
                m_frame.menuItem(QStringLiteral("mTemplateProperty"))->trigger();
            });
    connect(findChild<QToolButton *>(QStringLiteral("btPaste")), &QToolButton::clicked, this,
            [this] { m_frame.openAddressRecognition(); });
    connect(findChild<QToolButton *>(QStringLiteral("btMultiPrintS")), &QToolButton::clicked, this,
            [this] { m_frame.openExpressBatchPrint(); });
    connect(findChild<QToolButton *>(QStringLiteral("btClose")), &QToolButton::clicked, this,
            [this] { window() == this ? close() : parentWidget()->close(); });
}

void TfmCheckKDD::buildTemplatePanel()
{
    panelTab = new QWidget(this);
    panelTab->setObjectName(QStringLiteral("panelTab"));
    auto *row = new QHBoxLayout(panelTab);
    row->setContentsMargins(2, 2, 2, 2);
    tbcCheckTypeName = new QTabBar(panelTab);
    tbcCheckTypeName->setObjectName(QStringLiteral("tbcCheckTypeName"));
    tbcCheckTypeName->addTab(QStringLiteral("其他快递"));
    tbcCheckTypeName->setExpanding(false);
    row->addWidget(tbcCheckTypeName, 1);
    cbFirstTypeName = new QComboBox(panelTab);
    cbFirstTypeName->setObjectName(QStringLiteral("cbFirstTypeName"));
    cbFirstTypeName->setToolTip(
        QStringLiteral("快递单类型-您可以在系统管理-快递单筛选中修改默快递单"));
    cbFirstTypeName->setMinimumWidth(160);
    cbFirstTypeName->installEventFilter(this);
    row->addWidget(cbFirstTypeName);
    m_layout->addWidget(panelTab);
    connect(tbcCheckTypeName, &QTabBar::tabBarClicked, this, &TfmCheckKDD::tbcCheckTypeNameChange);
    connect(cbFirstTypeName, &QComboBox::activated, this, &TfmCheckKDD::cbFirstTypeNameChange);
}

void TfmCheckKDD::buildPicturePanel()
{
    panelImgBg = new QWidget(this);
    panelImgBg->setObjectName(QStringLiteral("panelImgBg"));
    panelImgBg->setStyleSheet(QStringLiteral(
        "QLineEdit, QPlainTextEdit, QComboBox, QDateEdit { background: rgba(255, 255, 235, 215);"
        " border: 1px solid rgb(127, 157, 185); }"));
    bgImage = new QLabel(panelImgBg);
    bgImage->setObjectName(QStringLiteral("bgImage"));
    bgImage->installEventFilter(this);
    m_layout->addWidget(panelImgBg);

    shpHKR = new PartyFrame(Qt::DotLine, QStringLiteral("点击选取寄件人"), panelImgBg);
    shpHKR->setObjectName(QStringLiteral("shpHKR"));
    shpskr = new PartyFrame(Qt::DashDotLine, QStringLiteral("点击选取收件人"), panelImgBg);
    shpskr->setObjectName(QStringLiteral("shpskr"));
    connect(shpHKR, &PartyFrame::picked, this, [this] { pickParty(true); });
    connect(shpskr, &PartyFrame::picked, this, [this] { pickParty(false); });

    buildFields();
    buildFloatingLists();
    for (int i = 0; i < kPresetOptionBoxes; ++i)
        loadCheckBox({});
}

void TfmCheckKDD::buildFields()
{
    using Kind = ExpressSlipField::Kind;
    for (const ExpressSlipField &f : ExpressSlipFields::all()) {
        QWidget *w = nullptr;
        switch (f.kind) {
        case Kind::Edit: {
            auto *edit = new QLineEdit(panelImgBg);
            if (f.maxLength > 0)
                edit->setMaxLength(f.maxLength);
            w = edit;
            break;
        }
        case Kind::Memo:
            w = new QPlainTextEdit(panelImgBg);
            static_cast<QPlainTextEdit *>(w)->viewport()->installEventFilter(this);
            break;
        case Kind::ComboBox: {
            auto *box = new QComboBox(panelImgBg);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            if (f.maxLength > 0)
                box->lineEdit()->setMaxLength(f.maxLength);
            w = box;
            break;
        }
        case Kind::Date:
            SelDate = new QDateEdit(panelImgBg);
            SelDate->setCalendarPopup(true);
            SelDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            w = SelDate;
            break;
        }
        w->setObjectName(f.control);
        w->setToolTip(f.hint);
        w->hide();
        w->installEventFilter(this);
        m_fields.insert(f.control.toUpper(), w);
        connectChangeTracking(w);
    }
    auto *receiverName = static_cast<QComboBox *>(field(QStringLiteral("zdSKR")));
    receiverName->lineEdit()->setPlaceholderText(ExpressSlipFields::kReceiverPrompt);

    for (const char *name : {"zdHKR", "zdSKR"}) {
        auto *box = static_cast<QComboBox *>(field(QString::fromLatin1(name)));
        const bool sender = name[2] == 'H';
        connect(box, &QComboBox::activated, this, [this, sender] {
            if (filling)
                return;
            lookUpParty(sender, true);
            if (sender)
                markModified();
        });
        connect(box->lineEdit(), &QLineEdit::returnPressed, this,
                [this, sender] { lookUpParty(sender, false); });
    }
    connect(SelDate, &QDateEdit::dateChanged, this, [this] {
        updateDateFields();
        markModified();
    });
    connect(static_cast<QLineEdit *>(field(QStringLiteral("zdSKRXS"))), &QLineEdit::textChanged,
            this, &TfmCheckKDD::zdSKRXSChange);
    // A hidden handset field still feeds the block's phone.
    for (auto [handset, phone] :
         {std::pair{"hkrHandset", "zdhkrDH"}, std::pair{"skrHandset", "zdskrDH"}})
        connect(static_cast<QLineEdit *>(field(QString::fromLatin1(handset))),
                &QLineEdit::textChanged, this, [this, handset, phone](const QString &number) {
                    if (field(QString::fromLatin1(handset))->isHidden() &&
                        fieldText(QString::fromLatin1(phone)).trimmed().isEmpty())
                        setFieldText(QString::fromLatin1(phone), number);
                });
}

void TfmCheckKDD::buildFloatingLists()
{
    auto make = [this](const char *name, int maxLength) {
        auto *box = new QComboBox(panelImgBg);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->setMaxLength(maxLength);
        box->hide();
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        return box;
    };
    cb_zdWPNR = make("cb_zdWPNR", 80);
    Cb_S = make("Cb_S", 50);
    Cb_XS = make("Cb_XS", 50);
    cbCountry = make("cbCountry", 50);
    cbCountry->setEditText(QStringLiteral("中国"));
    cbBZ = make("cbBZ", 200);
    // A pick lands in the field the list serves at once: saving or printing right after it
    // must see it, and a later focus change must not carry it into another field.
    for (QComboBox *list : {cb_zdWPNR, Cb_S, Cb_XS, cbCountry, cbBZ})
        connect(list, &QComboBox::currentTextChanged, this, [this, list](const QString &text) {
            if (QWidget *target = m_floatingTargets.value(list))
                setTextOf(target, text);
        });
}

void TfmCheckKDD::buildOptionsBar()
{
    shortbar = new QWidget(this);
    shortbar->setObjectName(QStringLiteral("shortbar"));
    shortbar->setFixedHeight(30);
    auto *row = new QHBoxLayout(shortbar);
    row->setContentsMargins(4, 0, 4, 0);
    auto box = [&](const char *name, const char *caption, const char *hint) {
        auto *check = new QCheckBox(QString::fromUtf8(caption), shortbar);
        check->setObjectName(QString::fromLatin1(name));
        check->setToolTip(QString::fromUtf8(hint));
        row->addWidget(check);
        return check;
    };
    cfgWantPrintRQ =
        box("cfgWantPrintRQ", "打印日期", "如果一直不打印日期，可到设计模式中隐藏日期项目");
    cfgWantPrintRQ->setChecked(true);
    auto *remember = new QToolButton(shortbar);
    remember->setObjectName(QStringLiteral("btRmember"));
    remember->setText(QStringLiteral("记住选项"));
    row->addWidget(remember);
    ckHandset2Phone = box("ckHandset2Phone", "合并手机到电话", "当手机不可填写时才有效！");
    ckPrintFJROnly =
        box("ckPrintFJROnly", "仅打印发件人",
            "国家、省、市、地址、电话、联系人、签名、邮编、(始发站/目的站、快递帐号）");
    ckPrintSJROnly = box("ckPrintSJROnly", "仅打印收件方", "隐藏发件人信息");
    cfgDestSiteIsCity = box("cfgDestSiteIsCity", "目的站=城市", "");
    row->addStretch();
    auto *label = new QLabel(QStringLiteral("金额大写1格式:"), shortbar);
    label->setObjectName(QStringLiteral("Label1"));
    row->addWidget(label);
    cfgJEDXFormat = new QComboBox(shortbar);
    cfgJEDXFormat->setObjectName(QStringLiteral("cfgJEDXFormat"));
    cfgJEDXFormat->addItems(amountFormatEntries());
    cfgJEDXFormat->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cfgJEDXFormat->setMinimumContentsLength(12);
    row->addWidget(cfgJEDXFormat);
    m_layout->addWidget(shortbar);

    connect(remember, &QToolButton::clicked, this, &TfmCheckKDD::btRmemberClick);
    connect(cfgWantPrintRQ, &QCheckBox::clicked, this, &TfmCheckKDD::applyPrintDate);
    connect(ckPrintFJROnly, &QCheckBox::clicked, this, &TfmCheckKDD::applyPrintSenderOnly);
    connect(ckPrintSJROnly, &QCheckBox::clicked, this, &TfmCheckKDD::applyPrintReceiverOnly);
    connect(ckHandset2Phone, &QCheckBox::clicked, this, &TfmCheckKDD::applyHandset2Phone);
    connect(cfgDestSiteIsCity, &QCheckBox::clicked, this, &TfmCheckKDD::zdSKRXSChange);
    connect(cfgJEDXFormat, &QComboBox::activated, this, [this] {
        // Convert the number the clerk typed, not the text the last format made of it.
        if (!m_amountShown.isEmpty() && fieldText(QStringLiteral("zdJEDX1")) == m_amountShown)
            setFieldText(QStringLiteral("zdJEDX1"), m_amountTyped);
        m_amountShown.clear();
        zdJEDX1Exit();
    });
}

void TfmCheckKDD::connectChangeTracking(QWidget *w)
{
    auto changed = [this] {
        if (!m_loading)
            m_saved = false;
    };
    if (auto *e = qobject_cast<QLineEdit *>(w))
        connect(e, &QLineEdit::textChanged, this, changed);
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        connect(m, &QPlainTextEdit::textChanged, this, changed);
    else if (auto *c = qobject_cast<QComboBox *>(w))
        connect(c, &QComboBox::currentTextChanged, this, changed);
    else if (auto *b = qobject_cast<QCheckBox *>(w))
        connect(b, &QCheckBox::toggled, this, changed);
}

// ---- fields -------------------------------------------------------------------------------

QWidget *TfmCheckKDD::field(const QString &name) const
{
    return m_fields.value(name.toUpper());
}

QString TfmCheckKDD::fieldText(const QString &name) const
{
    return textOf(field(name));
}

void TfmCheckKDD::setFieldText(const QString &name, const QString &text)
{
    if (QWidget *w = field(name))
        setTextOf(w, text);
}

void TfmCheckKDD::markModified()
{
    m_saved = false;
}

void TfmCheckKDD::updateDateFields()
{
    const QDate d = SelDate->date();
    const ExpressSlipRules::DateParts parts =
        ExpressSlipRules::dateParts(d.year(), d.month(), d.day());
    setFieldText(QStringLiteral("zdNian"), parts.year);
    setFieldText(QStringLiteral("zdYue"), parts.month);
    setFieldText(QStringLiteral("zdRi"), parts.day);
}

void TfmCheckKDD::updateCaption()
{
    setWindowTitle(u"快递单（" + cbFirstTypeName->currentText() + u"）-ID=" +
                   QString::number(m_billId));
}

// ---- templates ----------------------------------------------------------------------------

void TfmCheckKDD::reloadTypeNameList()
{
    cbFirstTypeName->clear();
    cbFirstTypeName->addItems(m_services.catalogue().loadCheckTypeLastNameList(kKind));
}

void TfmCheckKDD::buildCommonBlocks()
{
    const QStringList common = m_services.catalogue().loadCommonTypeLastNameList(kKind);
    if (common.isEmpty())
        return;
    const QSignalBlocker block(tbcCheckTypeName);
    while (tbcCheckTypeName->count() > 0)
        tbcCheckTypeName->removeTab(0);
    for (const QString &name : common)
        tbcCheckTypeName->addTab(name);
    tbcCheckTypeName->addTab(kCommonTemplatesTab);
    setCurrentCheckType(cbFirstTypeName->currentText());
}

bool TfmCheckKDD::setCurrentCheckType(const QString &name)
{
    bool selected = false;
    const int index = cbFirstTypeName->findText(name);
    if (cbFirstTypeName->currentText() != name && index >= 0) {
        cbFirstTypeName->setCurrentIndex(index);
        selected = true;
    }
    if (tbcCheckTypeName->tabText(tbcCheckTypeName->currentIndex()) != name)
        for (int i = 0; i < tbcCheckTypeName->count(); ++i)
            if (tbcCheckTypeName->tabText(i) == name) {
                const QSignalBlocker block(tbcCheckTypeName);
                tbcCheckTypeName->setCurrentIndex(i);
            }
    return selected;
}

void TfmCheckKDD::cbFirstTypeNameChange()
{
    markModified();
    m_currentTemplate = m_services.catalogue().loadCheckTypeIDByFirstAndLastName(
        kKind, cbFirstTypeName->currentText());
    initFormType();
    updateCaption();
    m_frame.setCurrentCheckTypeId(m_currentTemplate);
    setCurrentCheckType(cbFirstTypeName->currentText());
}

void TfmCheckKDD::tbcCheckTypeNameChange(int index)
{
    if (index < 0)
        return;
    const QString name = tbcCheckTypeName->tabText(index);
    if (name == kCommonTemplatesTab) {
        m_frame.setCurrentCheckTypeId(m_currentTemplate);
        m_frame.menuItem(QStringLiteral("nTempManage"))->trigger();
        // The tab strip stays on the template in use.
        QMetaObject::invokeMethod(
            this, [this] { setCurrentCheckType(cbFirstTypeName->currentText()); },
            Qt::QueuedConnection);
        return;
    }
    if (setCurrentCheckType(name))
        cbFirstTypeNameChange();
    else if (name != cbFirstTypeName->currentText())
        m_services.ui().alert(u"模板(" + name +
                                  u")不存在或被重命名了，请关闭填单界面并重新填开,以刷新模板列表！",
                              kPrompt);
}

void TfmCheckKDD::initFormType()
{
    if (m_currentTemplate == m_initialisedTemplate)
        return;
    Catalogue &catalogue = m_services.catalogue();
    m_cache = catalogue.OpenCheckInif(m_currentTemplate);
    loadParam();
    loadCheckBoxsConfig();
    m_loading = true;
    FormLayout::setFormControlsPosition(catalogue, m_currentTemplate, kKind, panelImgBg,
                                        m_cache.get());
    m_loading = false;
    for (auto [box, dictionary] :
         {std::pair{"zdSign", "发件人签名"}, std::pair{"cbFromSite", "始发站"}}) {
        auto *combo = static_cast<QComboBox *>(field(QString::fromLatin1(box)));
        fillDictionary(combo, QString::fromUtf8(dictionary), identifierList(false));
        if (combo->currentText().isEmpty() && combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    applyPrintDate();
    applyPrintReceiverOnly();
    updateMemoFonts();
    placePartyFrames();
    m_initialisedTemplate = m_currentTemplate;
}

void TfmCheckKDD::loadParam()
{
    const std::optional<Template> t = m_services.catalogue().loadTemplate(m_currentTemplate);
    if (!t)
        return;
    const QPixmap picture(m_services.home().imageDir() + t->pictureFile());
    if (!picture.isNull())
        bgImage->setPixmap(picture);
    bgImage->setGeometry(0, 0, t->tWidth, t->tHeight);
    bgImage->lower();
    panelImgBg->setFixedSize(t->tWidth, t->tHeight);
    shortbar->setFixedWidth(t->tWidth);
    loadCheckBox(t->checkBoxs);
    // The tool bar folds what does not fit; the picture sets the width.
    setFixedSize(t->tWidth, sizeHint().height());
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->adjustSize();
}

void TfmCheckKDD::placePartyFrames()
{
    // Each frame rings its block: from the name field to the address, as the layout placed them.
    auto ring = [this](PartyFrame *frame, const QStringList &block) {
        QRect area;
        for (const QString &name : block)
            if (QWidget *w = field(name); w && !w->isHidden())
                area = area.united(w->geometry());
        frame->setVisible(!area.isNull());
        frame->setGeometry(area.adjusted(-4, -4, 4, 4));
        frame->lower();
        bgImage->lower();
    };
    ring(shpHKR, {QStringLiteral("zdHKR"), QStringLiteral("zdHkrDZ")});
    ring(shpskr, {QStringLiteral("zdSKR"), QStringLiteral("zdSkrDZ")});
}

void TfmCheckKDD::loadCheckBox(const QString &captions)
{
    const QStringList pieces = captions.trimmed().split(u',');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i >= m_optionBoxes.size()) {
            auto *box = new QCheckBox(panelImgBg);
            box->setObjectName(QStringLiteral("defCheck%1").arg(i));
            box->setStyleSheet(QStringLiteral("QCheckBox { background: rgb(255, 185, 185); }"));
            box->hide();
            connectChangeTracking(box);
            m_optionBoxes << box;
            m_fields.insert(box->objectName().toUpper(), box);
        }
        QCheckBox *box = m_optionBoxes[i];
        box->setText(pieces[i]);
        box->setToolTip(pieces[i]);
        box->setGeometry(int(20 * i), int(30 * i), box->sizeHint().width(), 20);
    }
}

QString TfmCheckKDD::getItemCheckTitle() const
{
    QStringList checked;
    for (const QCheckBox *box : m_optionBoxes)
        if (box->isChecked())
            checked << box->text();
    return checked.join(u',');
}

void TfmCheckKDD::setItemCheckTitle(const QString &titles)
{
    if (titles.isEmpty()) {
        for (QCheckBox *box : std::as_const(m_optionBoxes))
            box->setChecked(false);
        return;
    }
    const QStringList pieces = titles.split(u',');
    for (QCheckBox *box : std::as_const(m_optionBoxes))
        if (pieces.contains(box->text()))
            box->setChecked(true);
}

void TfmCheckKDD::loadCheckBoxsConfig()
{
    const IniFile *cache = m_cache.get();
    for (QCheckBox *box : {cfgDestSiteIsCity, ckHandset2Phone, cfgWantPrintRQ})
        box->setChecked(Settings::getInifCheckConfigByName(cache, box->objectName()) == u"1");
    const QString format =
        Settings::getInifCheckConfigByName(cache, QStringLiteral("cfgJEDXFormat"));
    cfgJEDXFormat->setCurrentIndex(
        cfgJEDXFormat->findText(format.isEmpty() ? kPlainAmount : format));
}

void TfmCheckKDD::applyLayout(const QStringList &names)
{
    for (const QString &name : names)
        FormLayout::setFormCtlPositionFromIni(name, m_cache.get(), panelImgBg);
}

void TfmCheckKDD::applyPrintDate()
{
    if (cfgWantPrintRQ->isChecked()) {
        applyLayout(kDateFields);
        updateDateFields();
    } else {
        for (const QString &name : kDateFields)
            field(name)->hide();
    }
}

void TfmCheckKDD::applyPrintSenderOnly()
{
    if (ckPrintFJROnly->isChecked())
        for (const QString &name : kReceiverFields)
            field(name)->hide();
    else
        applyLayout(kReceiverFields);
}

void TfmCheckKDD::applyPrintReceiverOnly()
{
    if (ckPrintSJROnly->isChecked())
        for (const QString &name : kSenderFields)
            field(name)->hide();
    else
        applyLayout(kSenderFields);
}

void TfmCheckKDD::applyHandset2Phone()
{
    const QString handset = fieldText(QStringLiteral("skrHandset"));
    if (handset.isEmpty())
        return;
    const QString phone = fieldText(QStringLiteral("zdskrDH"));
    setFieldText(QStringLiteral("zdskrDH"),
                 ckHandset2Phone->isChecked()
                     ? ExpressSlipRules::mergeHandsetIntoPhone(phone, handset)
                     : ExpressSlipRules::removeHandsetFromPhone(phone, handset));
}

void TfmCheckKDD::zdSKRXSChange()
{
    const QString city = fieldText(QStringLiteral("zdSKRXS"));
    if (cfgDestSiteIsCity->isChecked() && !city.isEmpty() &&
        fieldText(QStringLiteral("cbDestSite")) != city)
        setFieldText(QStringLiteral("cbDestSite"), city);
}

void TfmCheckKDD::updateMemoFonts()
{
    for (auto [name, threshold] : {std::pair{"zdHkrDZ", 23}, std::pair{"zdSkrDZ", 22}}) {
        auto *memo = static_cast<QPlainTextEdit *>(field(QString::fromLatin1(name)));
        QFont f = memo->font();
        f.setPointSize(ExpressSlipRules::addressMemoPointSize(memo->document()->blockCount(),
                                                              memo->height(), threshold));
        memo->setFont(f);
    }
}

void TfmCheckKDD::btRmemberClick()
{
    Settings &s = m_services.settings();
    // All three or none; a failed write has told the user already.
    if (!m_services.database().inTransaction([&] {
            return s.setCheckConfigByName(m_currentTemplate, QStringLiteral("cfgDestSiteIsCity"),
                                          cfgDestSiteIsCity->isChecked() ? QStringLiteral("1")
                                                                         : QStringLiteral("0")) &&
                   s.setCheckConfigByName(m_currentTemplate, QStringLiteral("cfgWantPrintRQ"),
                                          cfgWantPrintRQ->isChecked() ? QStringLiteral("1")
                                                                      : QStringLiteral("0")) &&
                   s.setCheckConfigByName(m_currentTemplate, QStringLiteral("cfgJEDXFormat"),
                                          cfgJEDXFormat->currentText());
        }))
        return;
    const bool rebuilt = m_services.catalogue().buildCheckIniFile(m_currentTemplate);
    if (m_cache)
        m_cache->reload();
    if (!rebuilt) {
        m_services.ui().error(QStringLiteral("选项已存入数据库，但模板缓存文件重建失败，"
                                             "下次打开填单界面时将重试。"));
        return;
    }
    m_services.ui().alert(QStringLiteral("打印勾选及选项已记住！"), kPrompt);
}

// ---- amount -------------------------------------------------------------------------------

void TfmCheckKDD::zdJEDX1Exit()
{
    auto *amount = static_cast<QLineEdit *>(field(QStringLiteral("zdJEDX1")));
    const QString typed = amount->text();
    // Leaving a field that still shows its converted text converts nothing again.
    if (!m_amountShown.isEmpty() && typed == m_amountShown)
        return;
    m_amountTyped = typed;
    const QString format = cfgJEDXFormat->currentText();
    if (format.isEmpty() || format == kPlainAmount || typed.trimmed().isEmpty())
        return;
    const std::optional<AmountFormat> parsed = parseAmountFormat(format.trimmed());
    if (!parsed)
        return;
    const QString text =
        !isNumericText(typed.trimmed()) ? QString()
        : parsed->mode == AmountFormat::Mode::Capital
            ? getCapitalAmount(typed.trimmed())
            : getCapitalDigitCells(typed.trimmed(), parsed->integerCells, parsed->decimalPattern);
    // A bad amount keeps what was typed: a blank or a limit note must never print as the amount.
    if (text.isEmpty() || text == kBeyondDigitLimit) {
        m_amountShown.clear();
        m_services.ui().alert(
            text.isEmpty()
                ? QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~")
                : QStringLiteral("金额超出位数限制，请改选位数更多的金额大写格式~"),
            kPrompt);
        return;
    }
    m_amountShown = text;
    amount->setText(text);
}

// ---- parties ------------------------------------------------------------------------------

void TfmCheckKDD::fillBlock(PartyBlock block, const std::optional<TPerson> &party)
{
    fillPartyBlock(
        block, party ? &*party : nullptr,
        [this](const QString &control, const QString &text) { setFieldText(control, text); });
}

void TfmCheckKDD::setSender(const std::optional<TPerson> &party)
{
    fillBlock(PartyBlock::SlipSender, party);
    m_senderParty = party;
}

void TfmCheckKDD::setReceiver(const std::optional<TPerson> &party)
{
    fillBlock(PartyBlock::SlipReceiver, party);
    m_receiverParty = party;
}

void TfmCheckKDD::pickParty(bool sender)
{
    closeFloatingLists();
    const std::optional<TPerson> party = m_services.parties().fetchOnePerson(
        sender ? QStringLiteral("我方单位") : QStringLiteral("往来单位"),
        sender ? QStringLiteral("选择发件人资料") : QStringLiteral("选择收件人资料"));
    // Closing the address book is no choice: a stray click must not erase a typed block.
    if (!party)
        return;
    sender ? setSender(party) : setReceiver(party);
}

void TfmCheckKDD::lookUpParty(bool sender, bool byFullName)
{
    const QString name =
        fieldText(sender ? QStringLiteral("zdHKR") : QStringLiteral("zdSKR")).trimmed();
    if (name.isEmpty())
        return;
    const Parties &parties = m_services.parties();
    std::optional<TPerson> found = parties.FindByFullName(name);
    if (!found && !byFullName)
        found = parties.FindByInputCode(name);
    if (!found)
        return;
    sender ? setSender(found) : setReceiver(found);
}

void TfmCheckKDD::btSaveSKRenClick()
{
    const TPerson receiver = partyFromBlock(
        PartyBlock::SlipReceiver, [this](const QString &control) { return fieldText(control); });
    m_services.parties().savePersonFromBill(&receiver);
}

// ---- floating lists and dictionaries --------------------------------------------------------

QString TfmCheckKDD::identifierList(bool templateFirst) const
{
    const QString id = QString::number(m_currentTemplate);
    return templateFirst ? QString(id + u",0") : QString(u"0," + id);
}

void TfmCheckKDD::fillDictionary(QComboBox *box, const QString &name, const QString &idList)
{
    const QString text = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(m_services.catalogue().loadDMListByName(name, idList));
    box->setEditText(text);
}

void TfmCheckKDD::openFloatingList(QComboBox *list, QWidget *target)
{
    m_floatingTargets.insert(list, target);
    {
        const QSignalBlocker block(list);
        list->setGeometry(target->geometry());
        list->setEditText(textOf(target));
    }
    list->show();
    list->raise();
    list->setFocus();
}

void TfmCheckKDD::closeFloatingLists()
{
    // Their text is in their fields already.
    for (QComboBox *list : {cb_zdWPNR, Cb_S, Cb_XS, cbCountry, cbBZ})
        list->hide();
}

// ---- save, new, copy, reopen --------------------------------------------------------------

QHash<QString, QString> TfmCheckKDD::rowValues() const
{
    QHash<QString, QString> row;
    for (const ExpressSlipField &f : ExpressSlipFields::all())
        if (!f.column.isEmpty())
            row.insert(f.column, fieldText(f.control));
    QString receiver = fieldText(QStringLiteral("zdSKR"));
    if (receiver == ExpressSlipFields::kReceiverPrompt)
        receiver.clear();
    row.insert(QStringLiteral("收件单位"), receiver);
    row.insert(QStringLiteral("寄件日期"), SelDate->date().toString(Qt::ISODate));
    row.insert(QStringLiteral("其他选项"), getItemCheckTitle());
    row.insert(QStringLiteral("模板种类"), cbFirstTypeName->currentText());
    return row;
}

TfmCheckKDD::SaveOutcome TfmCheckKDD::save()
{
    Ui &ui = m_services.ui();
    if (m_history) {
        const QString title = QStringLiteral("单据保存");
        if (!ui.alert(QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？"),
                      title, true))
            return SaveOutcome::Declined;
        m_billId = -1;
        const QDate today = QDate::currentDate();
        if (SelDate->date() != today &&
            ui.alert(u"票据的日期与当前日期不符！\r修正为当前日期吗？(修正后日期：" +
                         shortDate(today) + u')',
                     title, true))
            SelDate->setDate(today);
        markModified();
    }
    if (m_saved) {
        ui.alert(QStringLiteral("已经保存过了！"), kPrompt);
        return SaveOutcome::Declined;
    }
    ExpressSlipStore store(m_services.database());
    const ExpressSlipStore::SaveResult result = store.save(m_billId, rowValues());
    if (!result.error.isEmpty()) {
        // Nothing typed is lost: the slip stays on screen, not saved.
        ui.error(u"快递单保存失败，填写的内容仍在窗口中，请稍后再试：\n" + result.error);
        return SaveOutcome::Failed;
    }
    m_billId = result.billId;
    if (m_saveMessages) {
        ui.alert(
            result.inserted
                ? QStringLiteral("新快递单保存成功！ ")
                : QStringLiteral("快递单修改保存成功（要修改成新快递单请先点击【复制】按钮）！ "),
            kPrompt);
        m_history = false;
    }
    m_saved = true;
    setWindowTitle(u"快递单(" + cbFirstTypeName->currentText() + u")-ID=" +
                   QString::number(m_billId));
    return SaveOutcome::Saved;
}

void TfmCheckKDD::btSaveCheckClick()
{
    Ui &ui = m_services.ui();
    if (m_history) {
        ui.alert(QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！"), kPrompt);
        return;
    }
    if (m_saved) {
        ui.alert(QStringLiteral("没有改动,无需保存~"), kPrompt);
        return;
    }
    if (save() == SaveOutcome::Saved)
        findChild<QToolButton *>(QStringLiteral("btSaveAs"))->setEnabled(true);
    m_saveMessages = true;
}

void TfmCheckKDD::btNewClick()
{
    m_billId = -1;
    for (const QString &name : kNewSlipClears)
        setFieldText(name, {});
    markModified();
    m_history = false;
    setWindowTitle(QStringLiteral("新快递单-ID=-1"));
    SelDate->setDate(QDate::currentDate());
    findChild<QToolButton *>(QStringLiteral("btSaveAs"))->setEnabled(false);
}

void TfmCheckKDD::btSaveAsClick()
{
    if (m_billId == -1) {
        m_services.ui().alert(QStringLiteral("未保存单据不需要复制即为一张新单！"), kPrompt);
        return;
    }
    m_history = false;
    m_billId = -1;
    markModified();
    const QString caption = u"快递单-" + cbFirstTypeName->currentText() + u" ID=-1";
    setWindowTitle(caption.contains(u"复制") ? caption
                                             : QStringLiteral("已复制保存过的单据为一张新单~"));
}

void TfmCheckKDD::loadRow(const QHash<QString, QString> &row)
{
    setItemCheckTitle(row.value(QStringLiteral("其他选项")));
    // Every stored field comes from the row, so nothing of the slip shown before survives
    // into a reprint or a copy.
    for (const ExpressSlipField &f : ExpressSlipFields::all()) {
        if (f.column.isEmpty() || f.kind == ExpressSlipField::Kind::Date)
            continue;
        setFieldText(f.control, row.value(f.column));
    }
    for (const QString &name : kUnstoredSlipValues)
        setFieldText(name, {});
    const QString date = row.value(QStringLiteral("寄件日期"));
    QDate sent = QDate::fromString(date, Qt::ISODate);
    if (!sent.isValid())
        sent = QLocale().toDate(date, QLocale::ShortFormat);
    if (sent.isValid())
        SelDate->setDate(sent);
    updateDateFields();
    m_amountTyped.clear();
    m_amountShown = fieldText(QStringLiteral("zdJEDX1"));
}

void TfmCheckKDD::BrowseOldCheck(const QString &templateName, const QString &billIdText)
{
    m_billId = billIdText.toInt();
    if (templateName != cbFirstTypeName->currentText()) {
        const int id =
            m_services.catalogue().loadCheckTypeIDByFirstAndLastName(kKind, templateName);
        if (id > 0) {
            setCurrentCheckType(templateName);
            m_initialisedTemplate = -1;
            m_currentTemplate = id;
            cbFirstTypeNameChange();
        }
    }
    if (m_billId > 0) {
        filling = true;
        m_loading = true;
        QString error;
        const auto row = ExpressSlipStore(m_services.database()).load(m_billId, &error);
        if (row)
            loadRow(*row);
        else if (!error.isEmpty())
            m_services.ui().alert(QStringLiteral("调出历史数据失败！"), kPrompt);
        m_loading = false;
        filling = false;
    }
    m_saved = true;
    m_history = true;
    setWindowTitle(u"历史快递单查看（流水号为：" + billIdText + u')');
    findChild<QToolButton *>(QStringLiteral("btSaveAs"))->setEnabled(true);
    if (QWidget *w = parentWidget() ? parentWidget() : this) {
        w->show();
        w->raise();
    }
}

// ---- printing -----------------------------------------------------------------------------

bool TfmCheckKDD::PrintPrepare()
{
    return m_printJob->PrintPrepare(m_currentTemplate);
}

bool TfmCheckKDD::PrinterTransBegin(int copies)
{
    return m_printJob->PrinterTransBegin(copies);
}

bool TfmCheckKDD::SendCheckToPrinter(int)
{
    return m_printJob->SendCheckToPrinter();
}

bool TfmCheckKDD::NewCheckPage()
{
    return m_printJob->NewCheckPage();
}

bool TfmCheckKDD::PrinterTransEnd()
{
    return m_printJob->PrinterTransEnd();
}

bool TfmCheckKDD::printCopies(int copies)
{
    return PrintPrepare() && PrinterTransBegin(copies) && SendCheckToPrinter() && PrinterTransEnd();
}

void TfmCheckKDD::btPrint1Click()
{
    auto *button = findChild<QToolButton *>(QStringLiteral("btPrint1"));
    button->setEnabled(false);
    printCopies(1);
    button->setEnabled(true);
}

void TfmCheckKDD::btPrintAndSaveClick()
{
    auto *button = findChild<QToolButton *>(QStringLiteral("btPrintAndSave"));
    m_saveMessages = false;
    button->setEnabled(false);
    btPrint1Click();
    btSaveCheckClick();
    // Only a slip that is stored starts the next one; a failed save keeps it whole on screen.
    if (m_saved) {
        setFieldText(QStringLiteral("zdPJBH"), {});
        btSaveAsClick();
        findChild<QToolButton *>(QStringLiteral("btSaveAs"))->setEnabled(false);
    }
    button->setEnabled(true);
    m_saveMessages = true;
}

void TfmCheckKDD::btMultiPrintFClick()
{
    const QString value = m_services.ui().giveMeAnValue(
        QStringLiteral("输入重复打印的张数"), QStringLiteral("1"), QStringLiteral("integer"));
    if (value.isEmpty())
        return;
    bool ok = false;
    const int copies = value.toInt(&ok);
    if (!ok) {
        m_services.ui().alert(QStringLiteral("输入错误的数字！"), kPrompt);
        return;
    }
    const QStringList buttons{"btPrint1", "btPrintAndSave", "btMultiPrintF"};
    for (const QString &b : buttons)
        findChild<QToolButton *>(b)->setEnabled(false);
    printCopies(std::min(copies, 50));
    for (const QString &b : buttons)
        findChild<QToolButton *>(b)->setEnabled(true);
}

// ---- window -------------------------------------------------------------------------------

void TfmCheckKDD::moveToolBar()
{
    m_barAtBottom = !m_barAtBottom;
    m_layout->removeWidget(toolBarCheck);
    m_layout->insertWidget(m_barAtBottom ? m_layout->count() : 0, toolBarCheck);
    toolBarCheck->setToolButtonStyle(m_barAtBottom ? Qt::ToolButtonTextBesideIcon
                                                   : Qt::ToolButtonTextUnderIcon);
    findChild<QToolButton *>(QStringLiteral("btPosition"))
        ->setText(m_barAtBottom ? QStringLiteral("上") : QStringLiteral("下"));
}

void TfmCheckKDD::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    const IniFile &ini = m_services.settings().userIni();
    QWidget *placed = parentWidget() ? parentWidget() : this;
    placed->move(ini.readInteger(kSection, QStringLiteral("PositionX"), 0),
                 ini.readInteger(kSection, QStringLiteral("PositionY"), 0));
    if ((ini.readString(kSection, QStringLiteral("PositionBar"), QStringLiteral("top")) ==
         u"bottom") != m_barAtBottom)
        moveToolBar();
    const int screenHeight = screen() ? screen()->size().height() : 768;
    for (const char *name : {"zdHKR", "zdSKR"})
        static_cast<QComboBox *>(field(QString::fromLatin1(name)))
            ->setMaxVisibleItems(ExpressSlipRules::nameListLength(screenHeight));
    cbFirstTypeName->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
}

void TfmCheckKDD::closeEvent(QCloseEvent *event)
{
    if (!m_saved && !fieldText(QStringLiteral("zdSKR")).isEmpty() &&
        !fieldText(QStringLiteral("zdSKRLXR")).isEmpty() &&
        m_services.ui().alert(QStringLiteral("是否保存该快递单？"), QStringLiteral("关闭快递单"),
                              true) &&
        save() == SaveOutcome::Failed) {
        // The clerk wants it kept and it is not stored: the slip stays open with every value.
        event->ignore();
        return;
    }
    IniFile &ini = m_services.settings().userIni();
    const QWidget *placed = parentWidget() ? parentWidget() : this;
    {
        IniFile::Batch batch(ini);
        ini.writeInteger(kSection, QStringLiteral("PositionX"), placed->x());
        ini.writeInteger(kSection, QStringLiteral("PositionY"), placed->y());
        ini.writeString(kSection, QStringLiteral("PositionBar"),
                        m_barAtBottom ? QStringLiteral("bottom") : QStringLiteral("top"));
    }
    ini.flush();
    m_frame.setCurrentCheckTypeId(-1);
    if (s_instance == this)
        s_instance = nullptr;
    QWidget::closeEvent(event);
}

bool TfmCheckKDD::eventFilter(QObject *watched, QEvent *event)
{
    auto is = [&](const char *name) { return watched == field(QString::fromLatin1(name)); };
    switch (event->type()) {
    case QEvent::FocusIn: {
        if (is("zdHKRS") || is("zdSKRS")) {
            if (Cb_S->count() == 0) {
                const QSignalBlocker block(Cb_S);
                Cb_S->addItems(m_services.dictionaries().loadProvinces());
            }
            openFloatingList(Cb_S, static_cast<QWidget *>(watched));
        } else if (is("zdHKRXS") || is("zdSKRXS")) {
            const QString province =
                fieldText(is("zdHKRXS") ? QStringLiteral("zdHKRS") : QStringLiteral("zdSKRS"));
            {
                const QSignalBlocker block(Cb_XS);
                Cb_XS->clear();
                if (!province.isEmpty())
                    Cb_XS->addItems(m_services.dictionaries().loadCitysByProvince(province));
            }
            openFloatingList(Cb_XS, static_cast<QWidget *>(watched));
        } else if (is("edtCountryFrom") || is("edtCountryDest")) {
            openFloatingList(cbCountry, static_cast<QWidget *>(watched));
        } else if (is("zdHKR") || is("zdSKR")) {
            auto *box = static_cast<QComboBox *>(watched);
            if (box->count() == 0) {
                const QSignalBlocker block(box);
                const QString text = box->currentText();
                box->addItems(m_services.parties().loadCompanyList(
                    is("zdHKR") ? QStringLiteral("我方单位") : QStringLiteral("往来单位")));
                box->setEditText(text);
            }
        } else if (is("zdSign") || is("cbFromSite")) {
            auto *box = static_cast<QComboBox *>(watched);
            if (box->count() == 0)
                fillDictionary(
                    box, is("zdSign") ? QStringLiteral("发件人签名") : QStringLiteral("始发站"),
                    identifierList(false));
            if (box->currentText().isEmpty() && box->count() > 0)
                box->setCurrentIndex(0);
        } else if (is("zdDef1") || is("zdDef2")) {
            auto *box = static_cast<QComboBox *>(watched);
            const QString name = watched->objectName() == u"zdDef1" ? QStringLiteral("自定义1")
                                                                    : QStringLiteral("自定义2");
            if (box->count() == 0)
                fillDictionary(box, name, QString::number(m_currentTemplate));
            if (box->count() == 0)
                fillDictionary(box, name, QStringLiteral("0"));
        } else if (is("zdJEDX1")) {
            auto *amount = static_cast<QLineEdit *>(watched);
            if (!amount->text().isEmpty() && !m_amountTyped.isEmpty()) {
                amount->setText(m_amountTyped);
                m_amountShown.clear();
            }
            QMetaObject::invokeMethod(amount, &QLineEdit::selectAll, Qt::QueuedConnection);
        } else if (is("zdhkrDH") || is("zdskrDH")) {
            const QString handset =
                is("zdhkrDH") ? QStringLiteral("hkrHandset") : QStringLiteral("skrHandset");
            if (field(handset)->isHidden() &&
                textOf(static_cast<QWidget *>(watched)).trimmed().isEmpty())
                setTextOf(static_cast<QWidget *>(watched), fieldText(handset));
        }
        break;
    }
    case QEvent::FocusOut: {
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
            break;
        if (is("zdJEDX1"))
            zdJEDX1Exit();
        for (QComboBox *list : {cb_zdWPNR, Cb_S, Cb_XS, cbCountry, cbBZ})
            if (watched == list || watched == list->lineEdit())
                QMetaObject::invokeMethod(
                    this,
                    [list] {
                        if (!list->hasFocus() && !list->lineEdit()->hasFocus())
                            list->hide();
                    },
                    Qt::QueuedConnection);
        break;
    }
    case QEvent::MouseButtonDblClick: {
        auto *wpnr = static_cast<QPlainTextEdit *>(field(QStringLiteral("zdWPNR")));
        auto *bz = static_cast<QPlainTextEdit *>(field(QStringLiteral("zdBz")));
        if (watched == wpnr->viewport()) {
            if (cb_zdWPNR->count() == 0)
                fillDictionary(cb_zdWPNR, QStringLiteral("物品内容"), identifierList(false));
            openFloatingList(cb_zdWPNR, wpnr);
            return true;
        }
        if (watched == bz->viewport()) {
            if (cbBZ->count() == 0)
                fillDictionary(cbBZ, QStringLiteral("备注"), identifierList(true));
            openFloatingList(cbBZ, bz);
            return true;
        }
        for (const char *memo : {"zdHkrDZ", "zdSkrDZ"})
            if (watched ==
                static_cast<QPlainTextEdit *>(field(QString::fromLatin1(memo)))->viewport()) {
                static_cast<QPlainTextEdit *>(field(QString::fromLatin1(memo)))->selectAll();
                return true;
            }
        break;
    }
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((is("zdHkrDZ") || is("zdSkrDZ")) && (key == Qt::Key_Return || key == Qt::Key_Enter ||
                                                 key == Qt::Key_Backspace || key == Qt::Key_Delete))
            updateMemoFonts();
        break;
    }
    case QEvent::MouseButtonPress:
        if (watched == bgImage) {
            closeFloatingLists();
            findChild<QToolButton *>(QStringLiteral("btSaveCheck"))->setFocus();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
