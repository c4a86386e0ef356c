#include "bills/ui/BillForm.h"

#include "base/DateDisplay.h"
#include "base/IniFile.h"
#include "base/PictureFile.h"
#include "base/Ui.h"
#include "bills/BillDate.h"
#include "bills/BillStore.h"
#include "bills/DraftRules.h"
#include "bills/ui/PartyFrame.h"
#include "data/Parties.h"
#include "print/ui/BillPrintJob.h"
#include "services/AppServices.h"
#include "services/BillHost.h"
#include "templates/Catalogue.h"
#include "templates/ui/FormLayout.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSqlError>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

std::array<BillForm *, 2> s_openForms{}; // by bill kind
const QString kPrompt = QStringLiteral("提示");
const QString kCommonTemplatesTab = QStringLiteral("配置常用模板");

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

} // namespace

BillForm::BillForm(BillHost &frame, const BillFormTexts &texts, BillKind printKind,
                   const std::vector<BillField> &fields, const QStringList &buttons,
                   const std::vector<ToolButton> &ownButtons, QWidget *parent)
    : QWidget(parent)
    , m_frame(frame)
    , m_services(frame.services())
    , m_texts(texts)
    , m_kind(printKind)
{
    s_openForms[int(printKind)] = this;
    setObjectName(texts.objectName);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    buildToolBar(buttons, ownButtons);
    buildTemplatePanel();
    buildPicturePanel(fields);
    buildOptionsBar();
    connectNameBoxes();
    m_printJob = std::make_unique<BillPrintJob>(m_services, printKind, panelImgBg, cbFirstTypeName);
    // Templates changed elsewhere (design mode, management, a package import) show at once.
    Catalogue &catalogue = m_services.catalogue();
    connect(&catalogue, &Catalogue::layoutChanged, this, [this](int checkTypeId) {
        if (checkTypeId != m_currentTemplate)
            return;
        m_initialisedTemplate = 0;
        initFormType();
    });
    connect(&catalogue, &Catalogue::templatesChanged, this, &BillForm::templatesChanged);
}

BillForm::~BillForm()
{
    if (s_openForms[int(m_kind)] == this)
        s_openForms[int(m_kind)] = nullptr;
}

BillForm *BillForm::openForm(BillKind kind)
{
    return s_openForms[int(kind)];
}

void BillForm::start()
{
    m_saveMessages = true;
    m_billId = -1;
    Catalogue &catalogue = m_services.catalogue();
    m_defaultTemplate = catalogue.loadDefaultCheckTypeId(m_texts.kind);
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

// ---- building ---------------------------------------------------------------------------

void BillForm::buildToolBar(const QStringList &buttons, const std::vector<ToolButton> &ownButtons)
{
    // "%1" stands for the kind's name.
    static const std::vector<ToolButton> shared{
        {"btPosition", "下", "", QStyle::SP_ArrowDown},
        {"btUpOrDown", "下", "", QStyle::SP_ArrowDown},
        {"btDesign", "设计模式", "单据模板的细节项目调整", QStyle::SP_FileDialogDetailedView},
        {"btOpenCheck", "打开(&O)", "打开历史保存的%1数据", QStyle::SP_DialogOpenButton},
        {"btNewCheck", "新建(&N)", "重填一张新单", QStyle::SP_FileIcon},
        {"btSaveAs", "复制(&C)", "将保存过的单据复制为一张新单~", QStyle::SP_FileDialogNewFolder},
        {"btSaveCheck", "保存(&S)", "保存填写的快递数据", QStyle::SP_DialogSaveButton},
        {"btPrint1", "单张打印(&P)", "打印一张当前填写的单子", QStyle::SP_ComputerIcon},
        {"btPrintAndSave", "打印并保存", "打印一张当前填写的单子并保存", QStyle::SP_DriveFDIcon},
        {"btMultiPrintS", "批量打印", "打印固定发件人+ 收件人列表", QStyle::SP_FileDialogListView},
        {"btMultiPrintF", "重复打印", "重复打印多份当前填写的单子", QStyle::SP_BrowserReload},
        // Alt+C belongs to "复制(&C)": one key, one command.
        {"btClose", "关闭", "", QStyle::SP_DialogCloseButton},
        {"btMoveXY", "整体偏移", "打印整体偏移", QStyle::SP_ArrowRight},
    };
    auto definition = [&](const QString &name) -> const ToolButton & {
        for (const auto *list : {&ownButtons, &shared})
            for (const ToolButton &b : *list)
                if (name == QLatin1String(b.name))
                    return b;
        Q_UNREACHABLE();
    };
    toolBarCheck = new QToolBar(this);
    toolBarCheck->setObjectName(QStringLiteral("toolBarCheck"));
    toolBarCheck->setFixedHeight(52);
    toolBarCheck->setIconSize(QSize(20, 20));
    // Compact buttons, so that all of them fit the width of a bill's picture.
    QFont compact = toolBarCheck->font();
    compact.setPixelSize(11);
    toolBarCheck->setFont(compact);
    toolBarCheck->setStyleSheet(QStringLiteral("QToolButton { padding: 1px 0px; }"));
    m_layout->addWidget(toolBarCheck);
    const QHash<QString, void (BillForm::*)()> commands{
        {"btPosition", &BillForm::moveToolBar},
        {"btUpOrDown", &BillForm::moveToolBar},
        {"btSaveSKRen", &BillForm::btSaveSKRenClick},
        {"btNewCheck", &BillForm::btNewClick},
        {"btSaveAs", &BillForm::btSaveAsClick},
        {"btSaveCheck", &BillForm::btSaveCheckClick},
        {"btPrint1", &BillForm::btPrint1Click},
        {"btPrintAndSave", &BillForm::btPrintAndSaveClick},
        {"btMultiPrintF", &BillForm::btMultiPrintFClick},
    };
    for (const QString &name : buttons) {
        const ToolButton &b = definition(name);
        auto *button = new QToolButton(toolBarCheck);
        button->setObjectName(name);
        button->setText(QString::fromUtf8(b.caption));
        button->setToolTip(QString::fromUtf8(b.hint).replace(QStringLiteral("%1"), m_texts.kind));
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        if (auto command = commands.value(button->objectName()))
            connect(button, &QToolButton::clicked, this, command);
        m_buttonActions.insert(button->objectName(), toolBarCheck->addWidget(button));
    }
    button(QStringLiteral("btSaveAs"))->setEnabled(false);
    // The buttons whose windows the main frame opens.
    auto frameCommand = [this](const char *name, auto command) {
        if (QToolButton *b = button(QString::fromLatin1(name)))
            connect(b, &QToolButton::clicked, this, command);
    };
    frameCommand("btOpenCheck", [this] {
        if (QAction *a = m_frame.menuItem(m_texts.historyItem))
            a->trigger();
    });
    frameCommand("btDesign", [this] {
        if (QAction *a = m_frame.menuItem(QStringLiteral("nDesign")))
            a->trigger();
        // The design mode may have changed the template: read its layout again.
        m_initialisedTemplate = 0;
        initFormType();
    });
    frameCommand("btMoveXY", [this] {
        m_frame.setCurrentCheckTypeId(m_currentTemplate);
        m_frame.menuItem(QStringLiteral("mTemplateProperty"))->trigger();
    });
    frameCommand("btMultiPrintS", [this] {
        m_kind == BillKind::ExpressSlip ? m_frame.openExpressBatchPrint()
                                        : m_frame.openDraftBatchPrint();
    });
    frameCommand("btClose", [this] { window() == this ? close() : parentWidget()->close(); });
}

void BillForm::buildTemplatePanel()
{
    panelTab = new QWidget(this);
    panelTab->setObjectName(QStringLiteral("panelTab"));
    auto *row = new QHBoxLayout(panelTab);
    row->setContentsMargins(2, 2, 2, 2);
    tbcCheckTypeName = new QTabBar(panelTab);
    tbcCheckTypeName->setObjectName(QStringLiteral("tbcCheckTypeName"));
    tbcCheckTypeName->addTab(m_texts.firstTab);
    tbcCheckTypeName->setExpanding(false);
    row->addWidget(tbcCheckTypeName, 1);
    cbFirstTypeName = new QComboBox(panelTab);
    cbFirstTypeName->setObjectName(QStringLiteral("cbFirstTypeName"));
    cbFirstTypeName->setToolTip(m_texts.templateHint);
    cbFirstTypeName->setMinimumWidth(160);
    row->addWidget(cbFirstTypeName);
    m_layout->addWidget(panelTab);
    connect(tbcCheckTypeName, &QTabBar::tabBarClicked, this, &BillForm::tbcCheckTypeNameChange);
    connect(cbFirstTypeName, &QComboBox::activated, this, &BillForm::cbFirstTypeNameChange);
}

void BillForm::buildPicturePanel(const std::vector<BillField> &fields)
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

    shpHKR = new PartyFrame(Qt::DotLine, m_texts.senderFrameHint, panelImgBg);
    shpHKR->setObjectName(QStringLiteral("shpHKR"));
    shpskr = new PartyFrame(Qt::DashDotLine, m_texts.receiverFrameHint, panelImgBg);
    shpskr->setObjectName(QStringLiteral("shpskr"));
    connect(shpHKR, &PartyFrame::picked, this, [this] { pickParty(true); });
    connect(shpskr, &PartyFrame::picked, this, [this] { pickParty(false); });

    for (const BillField &f : fields)
        addField(f);
    connect(SelDate, &QDateEdit::dateChanged, this, [this] {
        updateDateFields();
        markModified();
    });
    loadCheckBox(QStringList(m_texts.optionBoxes, QString()).join(u','));
}

void BillForm::addField(const BillField &f)
{
    using Kind = BillField::Kind;
    QWidget *w = nullptr;
    switch (f.kind) {
    case Kind::Edit:
    case Kind::Cell: {
        auto *edit = new QLineEdit(panelImgBg);
        if (f.maxLength > 0)
            edit->setMaxLength(f.maxLength);
        edit->setReadOnly(f.kind == Kind::Cell);
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
        SelDate->setDisplayFormat(DateDisplay::format());
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

void BillForm::buildOptionsBar()
{
    shortbar = new QWidget(this);
    shortbar->setObjectName(QStringLiteral("shortbar"));
    shortbar->setFixedHeight(30);
    m_optionsRow = new QHBoxLayout(shortbar);
    m_optionsRow->setContentsMargins(4, 0, 4, 0);
    m_layout->addWidget(shortbar);
}

QCheckBox *BillForm::addOptionBox(const char *name, const char *caption, const char *hint)
{
    auto *check = new QCheckBox(QString::fromUtf8(caption), shortbar);
    check->setObjectName(QString::fromLatin1(name));
    check->setToolTip(QString::fromUtf8(hint));
    m_optionsRow->addWidget(check);
    return check;
}

QToolButton *BillForm::addRememberButton(const QString &caption)
{
    auto *remember = new QToolButton(shortbar);
    remember->setObjectName(QStringLiteral("btRmember"));
    remember->setText(caption);
    m_optionsRow->addWidget(remember);
    connect(remember, &QToolButton::clicked, this, &BillForm::btRmemberClick);
    return remember;
}

QLabel *BillForm::addOptionLabel(const char *name, const QString &caption)
{
    auto *label = new QLabel(caption, shortbar);
    label->setObjectName(QString::fromLatin1(name));
    m_optionsRow->addWidget(label);
    return label;
}

void BillForm::connectChangeTracking(QWidget *w)
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

QToolButton *BillForm::button(const QString &name) const
{
    return findChild<QToolButton *>(name);
}

void BillForm::hideButton(const char *name)
{
    // A tool bar shows or hides its widgets through their actions.
    m_buttonActions.value(QString::fromLatin1(name))->setVisible(false);
}

// ---- fields -------------------------------------------------------------------------------

QWidget *BillForm::field(const QString &name) const
{
    return m_fields.value(name.toUpper());
}

QString BillForm::fieldText(const QString &name) const
{
    return textOf(field(name));
}

void BillForm::setFieldText(const QString &name, const QString &text)
{
    if (QWidget *w = field(name))
        setTextOf(w, text);
}

void BillForm::updateDateFields()
{
    BillValues date;
    setBillDate(date, SelDate->date(), capitalDates());
    loadValues(date);
}

void BillForm::setFillingOrLoading(bool on)
{
    filling = on;
    m_loading = on;
}

void BillForm::showFields(const QStringList &names, bool show)
{
    for (const QString &name : names) {
        if (show)
            FormLayout::setFormCtlPositionFromIni(name, m_cache.get(), panelImgBg);
        else if (QWidget *w = field(name))
            w->hide();
    }
}

void BillForm::updateCaption()
{
    setWindowTitle(m_texts.kind + u"（" + cbFirstTypeName->currentText() + u"）-ID=" +
                   QString::number(m_billId));
}

// ---- templates ----------------------------------------------------------------------------

void BillForm::reloadTypeNameList()
{
    cbFirstTypeName->clear();
    cbFirstTypeName->addItems(m_services.catalogue().loadCheckTypeLastNameList(m_texts.kind));
}

void BillForm::templatesChanged()
{
    const QString current = cbFirstTypeName->currentText();
    {
        const QSignalBlocker block(cbFirstTypeName);
        reloadTypeNameList();
        cbFirstTypeName->setCurrentIndex(cbFirstTypeName->findText(current));
    }
    if (cbFirstTypeName->count() == 0)
        return;
    buildCommonBlocks();
    // The template in use may have been renamed, hidden or deleted: the first one takes over.
    if (cbFirstTypeName->currentIndex() < 0) {
        cbFirstTypeName->setCurrentIndex(0);
        cbFirstTypeNameChange();
        return;
    }
    m_initialisedTemplate = 0;
    initFormType();
}

void BillForm::buildCommonBlocks()
{
    const QStringList common = m_services.catalogue().loadCommonTypeLastNameList(m_texts.kind);
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

bool BillForm::setCurrentCheckType(const QString &name)
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

void BillForm::cbFirstTypeNameChange()
{
    markModified();
    m_currentTemplate = m_services.catalogue().loadCheckTypeIDByFirstAndLastName(
        m_texts.kind, cbFirstTypeName->currentText());
    initFormType();
    updateCaption();
    m_frame.setCurrentCheckTypeId(m_currentTemplate);
    setCurrentCheckType(cbFirstTypeName->currentText());
}

void BillForm::tbcCheckTypeNameChange(int index)
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

void BillForm::initFormType()
{
    if (m_currentTemplate == m_initialisedTemplate)
        return;
    Catalogue &catalogue = m_services.catalogue();
    m_cache = catalogue.OpenCheckInif(m_currentTemplate);
    loadParam();
    loadCheckBoxsConfig();
    m_loading = true;
    FormLayout::setFormControlsPosition(catalogue, m_currentTemplate, m_texts.kind, panelImgBg,
                                        m_cache.get());
    m_loading = false;
    orderTabs();
    laidOut();
    placePartyFrames();
    m_initialisedTemplate = m_currentTemplate;
}

void BillForm::loadParam()
{
    const std::optional<Template> t = m_services.catalogue().loadTemplate(m_currentTemplate);
    if (!t)
        return;
    QString problem;
    const QImage picture =
        PictureFile::read(m_services.home().imageDir() + t->pictureFile(), &problem);
    // Fields still lie where the template puts them; the text says why the paper is missing.
    bgImage->setWordWrap(picture.isNull());
    bgImage->setAlignment(picture.isNull() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    if (picture.isNull())
        bgImage->setText(problem + u"\n仍可填写和打印，图片可在“票据模板管理”中更换。");
    else
        bgImage->setPixmap(QPixmap::fromImage(picture));
    bgImage->setGeometry(0, 0, t->tWidth, t->tHeight);
    bgImage->lower();
    panelImgBg->setFixedSize(t->tWidth, t->tHeight);
    shortbar->setFixedWidth(t->tWidth);
    loadCheckBox(t->checkBoxs);
    fitSize();
}

void BillForm::fitSize()
{
    // The picture sets the width, unless the tool bar needs more: a button folded away
    // behind the tool bar's extension is a button the clerk does not find.
    setFixedSize(std::max(panelImgBg->width(), toolBarCheck->sizeHint().width()),
                 sizeHint().height());
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->adjustSize();
}

void BillForm::orderTabs()
{
    // Tab follows the paper: rows from top to bottom, each from left to right. A field whose
    // top lies above the middle of a row's first field belongs to that row.
    QList<QWidget *> fields;
    for (QWidget *w : std::as_const(m_fields))
        if (w->focusPolicy() & Qt::TabFocus)
            fields << w;
    auto byName = [](const QWidget *a, const QWidget *b) {
        return a->objectName() < b->objectName();
    };
    std::sort(fields.begin(), fields.end(), byName); // the same order on every run
    std::stable_sort(fields.begin(), fields.end(), [](const QWidget *a, const QWidget *b) {
        return a->geometry().top() < b->geometry().top();
    });
    for (qsizetype start = 0; start < fields.size();) {
        const QRect first = fields[start]->geometry();
        qsizetype end = start + 1;
        while (end < fields.size() && fields[end]->geometry().top() < first.center().y())
            ++end;
        std::stable_sort(fields.begin() + start, fields.begin() + end,
                         [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
        start = end;
    }
    for (qsizetype i = 1; i < fields.size(); ++i)
        QWidget::setTabOrder(fields[i - 1], fields[i]);
}

void BillForm::placePartyFrames()
{
    // Each frame rings its block as the layout placed it, but only as far as no other field
    // lies inside: a block's fields may sit apart (a drawer's bank number below the amount),
    // and a click on the picture between them must not open the address book.
    auto ring = [this](PartyFrame *frame, PartyBlock block) {
        QList<const QWidget *> own;
        for (const PartyBlockField &f : partyBlockFields(block))
            if (QWidget *w = field(QString::fromLatin1(f.control)); w && !w->isHidden())
                own << w;
        auto coversOthers = [&](const QRect &area) {
            for (const QWidget *w : std::as_const(m_fields))
                if (!w->isHidden() && !own.contains(w) && area.intersects(w->geometry()))
                    return true;
            return false;
        };
        QRect area;
        for (const QWidget *w : std::as_const(own))
            if (const QRect wider = area.united(w->geometry());
                area.isNull() || !coversOthers(wider))
                area = wider;
        frame->setVisible(!area.isNull());
        frame->setGeometry(area.adjusted(-4, -4, 4, 4));
        frame->lower();
        bgImage->lower();
    };
    ring(shpHKR, m_texts.senderBlock);
    ring(shpskr, m_texts.receiverBlock);
}

void BillForm::loadCheckBox(const QString &captions)
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

QString BillForm::getItemCheckTitle() const
{
    QStringList checked;
    for (const QCheckBox *box : m_optionBoxes)
        if (box->isChecked())
            checked << box->text();
    return checked.join(u',');
}

void BillForm::setItemCheckTitle(const QString &titles)
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

void BillForm::btRmemberClick()
{
    Settings &s = m_services.settings();
    QList<std::pair<QString, QString>> options;
    for (const QCheckBox *box : rememberedBoxes())
        options.append(
            {box->objectName(), box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    options.append({rememberedChoice()->objectName(), rememberedChoice()->currentText()});
    // All or none; a failed write has told the user already, a failed commit has not.
    bool written = true;
    Database &db = m_services.database();
    if (!db.inTransaction([&] {
            for (const auto &[name, value] : options)
                if (!s.setCheckConfigByName(m_currentTemplate, name, value))
                    return written = false;
            return true;
        })) {
        if (written)
            m_services.ui().error(u"打印勾选及选项未能保存：" + db.connection().lastError().text());
        return;
    }
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

QString BillForm::identifierList(bool templateFirst) const
{
    const QString id = QString::number(m_currentTemplate);
    return templateFirst ? QString(id + u",0") : QString(u"0," + id);
}

void BillForm::fillDictionary(QComboBox *box, const QString &name, const QString &idList)
{
    const QString text = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(m_services.catalogue().loadDMListByName(name, idList));
    box->setEditText(text);
}

// ---- parties ------------------------------------------------------------------------------

void BillForm::fillBlock(PartyBlock block, const std::optional<TPerson> &party)
{
    fillPartyBlock(
        block, party ? &*party : nullptr,
        [this](const QString &control, const QString &text) { setFieldText(control, text); });
}

void BillForm::setSender(const std::optional<TPerson> &party)
{
    fillBlock(m_texts.senderBlock, party);
    m_senderParty = party;
}

void BillForm::setReceiver(const std::optional<TPerson> &party)
{
    fillBlock(m_texts.receiverBlock, party);
    m_receiverParty = party;
}

QComboBox *BillForm::nameBox(bool sender) const
{
    const PartyBlock block = sender ? m_texts.senderBlock : m_texts.receiverBlock;
    return qobject_cast<QComboBox *>(
        field(QString::fromLatin1(partyBlockFields(block).front().control)));
}

void BillForm::connectNameBoxes()
{
    for (bool sender : {true, false})
        connect(nameBox(sender), &QComboBox::activated, this, [this, sender] {
            // A name another window writes in looks nothing up.
            if (filling)
                return;
            lookUpParty(sender, true);
            if (sender)
                markModified();
        });
}

void BillForm::pickParty(bool sender)
{
    const std::optional<TPerson> party = m_services.parties().fetchOnePerson(
        sender ? TPerson::kOwnUnit : TPerson::kCounterparty,
        sender ? m_texts.senderPickTitle : m_texts.receiverPickTitle);
    // Closing the address book is no choice: a stray click must not erase a typed block.
    if (!party)
        return;
    sender ? setSender(party) : setReceiver(party);
}

bool BillForm::lookUpParty(bool sender, bool byFullName)
{
    const QString name = nameBox(sender)->currentText().trimmed();
    if (name.isEmpty())
        return false;
    const Parties &parties = m_services.parties();
    std::optional<TPerson> found = parties.FindByFullName(name);
    if (!found && !byFullName)
        found = parties.FindByInputCode(name);
    if (!found)
        return false;
    sender ? setSender(found) : setReceiver(found);
    return true;
}

void BillForm::btSaveSKRenClick()
{
    const TPerson receiver = partyFromBlock(
        m_texts.receiverBlock, [this](const QString &control) { return fieldText(control); });
    m_services.parties().savePersonFromBill(&receiver);
}

// ---- save, new, copy, reopen --------------------------------------------------------------

BillForm::SaveOutcome BillForm::save()
{
    if (!commitTyping())
        return SaveOutcome::Failed;
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
                         DateDisplay::text(today) + u')',
                     title, true))
            SelDate->setDate(today);
        markModified();
    }
    if (m_saved) {
        ui.alert(QStringLiteral("已经保存过了！"), kPrompt);
        return SaveOutcome::Declined;
    }
    QHash<QString, QString> row = rowValues();
    row.insert(QStringLiteral("其他选项"), getItemCheckTitle());
    row.insert(QStringLiteral("模板种类"), cbFirstTypeName->currentText());
    const BillStore::SaveResult result =
        BillStore(m_services.database(), m_texts.table).save(m_billId, row);
    if (!result.error.isEmpty()) {
        // Nothing typed is lost: the bill stays on screen, not saved.
        ui.error(m_texts.saveFailed() + result.error);
        return SaveOutcome::Failed;
    }
    m_billId = result.billId;
    keepFirstPrint();
    if (m_saveMessages) {
        ui.alert(result.inserted ? m_texts.newSaved() : m_texts.editSaved(), kPrompt);
        m_history = false;
    }
    m_saved = true;
    setWindowTitle(m_texts.kind + u'(' + cbFirstTypeName->currentText() + u")-ID=" +
                   QString::number(m_billId));
    return SaveOutcome::Saved;
}

void BillForm::btSaveCheckClick()
{
    Ui &ui = m_services.ui();
    if (m_history) {
        ui.alert(m_texts.historyButtonMessage, kPrompt);
        return;
    }
    if (m_saved) {
        ui.alert(QStringLiteral("没有改动,无需保存~"), kPrompt);
        return;
    }
    if (save() == SaveOutcome::Saved)
        button(QStringLiteral("btSaveAs"))->setEnabled(true);
    m_saveMessages = true;
}

void BillForm::btNewClick()
{
    m_billId = -1;
    m_printedVersion = 0;
    for (const QString &name : m_texts.newBillClears)
        setFieldText(name, {});
    markModified();
    m_history = false;
    setWindowTitle(m_texts.newBillCaption());
    SelDate->setDate(QDate::currentDate());
    updateDateFields();
    button(QStringLiteral("btSaveAs"))->setEnabled(false);
}

void BillForm::btSaveAsClick()
{
    if (m_billId == -1) {
        m_services.ui().alert(QStringLiteral("未保存单据不需要复制即为一张新单！"), kPrompt);
        return;
    }
    m_history = false;
    m_billId = -1;
    m_printedVersion = 0; // a copy is a new bill, not printed yet
    markModified();
    const QString caption = m_texts.kind + u'-' + cbFirstTypeName->currentText() + u" ID=-1";
    setWindowTitle(caption.contains(u"复制") ? caption
                                             : QStringLiteral("已复制保存过的单据为一张新单~"));
}

void BillForm::BrowseOldCheck(int billId)
{
    // The template the bill was filled in on comes with its row.
    const auto row = BillStore(m_services.database(), m_texts.table).load(billId);
    BrowseOldCheck(row ? row->value(QStringLiteral("模板种类")) : QString(),
                   QString::number(billId));
}

void BillForm::BrowseOldCheck(const QString &templateName, const QString &billIdText)
{
    m_billId = billIdText.toInt();
    m_printedVersion = 0;
    if (!templateName.isEmpty() && templateName != cbFirstTypeName->currentText()) {
        const int id =
            m_services.catalogue().loadCheckTypeIDByFirstAndLastName(m_texts.kind, templateName);
        if (id > 0) {
            setCurrentCheckType(templateName);
            m_initialisedTemplate = -1;
            m_currentTemplate = id;
            cbFirstTypeNameChange();
        }
    }
    QHash<QString, QString> loaded;
    if (m_billId > 0) {
        setFillingOrLoading(true);
        QString error;
        const auto row = BillStore(m_services.database(), m_texts.table).load(m_billId, &error);
        if (row) {
            loaded = *row;
            setItemCheckTitle(row->value(QStringLiteral("其他选项")));
            loadRow(*row);
        } else if (!error.isEmpty()) {
            m_services.ui().alert(QStringLiteral("调出历史数据失败！"), kPrompt);
        }
        setFillingOrLoading(false);
    }
    reopened(loaded, billIdText);
    button(QStringLiteral("btSaveAs"))->setEnabled(m_saved);
    if (QWidget *w = parentWidget() ? parentWidget() : this) {
        w->show();
        w->raise();
    }
}

void BillForm::reopened(const QHash<QString, QString> &, const QString &billIdText)
{
    m_saved = true;
    m_history = true;
    setWindowTitle(m_texts.historyCaption + billIdText + u')');
}

// ---- printing -----------------------------------------------------------------------------

bool BillForm::PrintPrepare()
{
    return m_printJob->PrintPrepare(m_currentTemplate);
}

bool BillForm::PrinterTransBegin(int copies)
{
    return m_printJob->PrinterTransBegin(copies);
}

bool BillForm::SendCheckToPrinter(int)
{
    return m_printJob->SendCheckToPrinter(values());
}

BillValues BillForm::values()
{
    QStringList stored;
    for (const QWidget *w : std::as_const(m_fields))
        stored.append(w->objectName());
    return m_printJob->panelValues(m_currentTemplate, moneyCode(), stored);
}

void BillForm::loadValues(const BillValues &bill)
{
    for (const QWidget *w : std::as_const(m_fields))
        if (bill.has(w->objectName()))
            setFieldText(w->objectName(), bill.value(w->objectName()));
}

bool BillForm::NewCheckPage()
{
    return m_printJob->NewCheckPage();
}

bool BillForm::PrinterTransEnd()
{
    return m_printJob->PrinterTransEnd();
}

void BillForm::PrinterTransAbort()
{
    m_printJob->PrinterTransAbort();
}

bool BillForm::printCopies(int copies)
{
    const bool printed = commitTyping() && PrintPrepare() && PrinterTransBegin(copies) &&
                         SendCheckToPrinter() && PrinterTransEnd();
    if (printed)
        recordPrint();
    return printed;
}

void BillForm::recordPrint()
{
    QString error;
    m_printedVersion = m_printJob->job().recordVersion(&error);
    m_printedTemplate = m_currentTemplate;
    if (m_printedVersion <= 0)
        m_services.ui().warn(u"已打印，但这次打印用的模板没有记下，日后不能按原样重复打印：" +
                             error);
    keepFirstPrint();
}

void BillForm::keepFirstPrint()
{
    if (m_billId <= 0 || m_printedVersion <= 0 || m_printedTemplate != m_currentTemplate)
        return;
    QString error;
    if (!BillStore(m_services.database(), m_texts.table)
             .recordFirstPrint(m_billId, m_printedVersion, &error))
        m_services.ui().warn(u"这张单据第一次打印用的模板没有记下：" + error);
}

void BillForm::btPrint1Click()
{
    QToolButton *print = button(QStringLiteral("btPrint1"));
    print->setEnabled(false);
    printCopies(1);
    print->setEnabled(true);
}

void BillForm::btPrintAndSaveClick()
{
    QToolButton *self = button(QStringLiteral("btPrintAndSave"));
    m_saveMessages = false;
    self->setEnabled(!m_printAndSaveDisables);
    btPrint1Click();
    btSaveCheckClick();
    // Only a bill that is stored starts the next one; a failed save keeps it whole on screen.
    if (m_saved) {
        setFieldText(QStringLiteral("zdPJBH"), {});
        btSaveAsClick();
        button(QStringLiteral("btSaveAs"))->setEnabled(false);
    }
    self->setEnabled(true);
    m_saveMessages = true;
}

void BillForm::btMultiPrintFClick()
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
        button(b)->setEnabled(false);
    // The print job keeps the kind's upper limit of copies.
    printCopies(copies);
    for (const QString &b : buttons)
        button(b)->setEnabled(true);
}

// ---- window -------------------------------------------------------------------------------

void BillForm::moveToolBar()
{
    m_barAtBottom = !m_barAtBottom;
    m_layout->removeWidget(toolBarCheck);
    // The buttons keep their captions under the glyphs at either edge: text beside them
    // would need more width than the picture has.
    m_layout->insertWidget(m_barAtBottom ? m_layout->count() : 0, toolBarCheck);
    for (const char *name : {"btPosition", "btUpOrDown"})
        if (QToolButton *b = button(QString::fromLatin1(name)))
            b->setText(m_barAtBottom ? QStringLiteral("上") : QStringLiteral("下"));
}

QToolButton *BillForm::mnemonicButton(const QKeyEvent &key) const
{
    if (key.modifiers() != Qt::AltModifier)
        return nullptr;
    const QKeySequence pressed(key.keyCombination());
    for (QToolButton *b : toolBarCheck->findChildren<QToolButton *>())
        if (!b->text().isEmpty() && QKeySequence::mnemonic(b->text()) == pressed)
            return b;
    return nullptr;
}

bool BillForm::event(QEvent *event)
{
    // While the focus is in the form its own Alt keys come first: the frame's menus and tool
    // bar share some letters (S, P, C), and an ambiguous key would do nothing at all.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (QToolButton *b = mnemonicButton(*key)) {
            key->accept();
            if (b->isVisible() && b->isEnabled())
                b->click();
            return true;
        }
    }
    return QWidget::event(event);
}

void BillForm::shown(int screenHeight)
{
    cbFirstTypeName->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
    for (bool sender : {true, false})
        nameBox(sender)->setMaxVisibleItems(ExpressSlipRules::nameListLength(screenHeight));
}

void BillForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    const IniFile &ini = m_services.settings().userIni();
    const QString section = objectName().toUpper();
    QWidget *placed = parentWidget() ? parentWidget() : this;
    placed->move(ini.readInteger(section, QStringLiteral("PositionX"), 0),
                 ini.readInteger(section, QStringLiteral("PositionY"), 0));
    if ((ini.readString(section, QStringLiteral("PositionBar"), QStringLiteral("top")) ==
         u"bottom") != m_barAtBottom)
        moveToolBar();
    shown(screen() ? screen()->size().height() : 768);
}

void BillForm::closeEvent(QCloseEvent *event)
{
    const bool filledIn = std::none_of(m_texts.closeAskFields.begin(), m_texts.closeAskFields.end(),
                                       [this](const QString &f) { return fieldText(f).isEmpty(); });
    if (!m_saved && filledIn &&
        m_services.ui().alert(m_texts.closeQuestion(), m_texts.closeTitle, true) &&
        save() == SaveOutcome::Failed) {
        // The clerk wants it kept and it is not stored: the bill stays open with every value.
        event->ignore();
        return;
    }
    IniFile &ini = m_services.settings().userIni();
    const QString section = objectName().toUpper();
    const QWidget *placed = parentWidget() ? parentWidget() : this;
    {
        IniFile::Batch batch(ini);
        ini.writeInteger(section, QStringLiteral("PositionX"), placed->x());
        ini.writeInteger(section, QStringLiteral("PositionY"), placed->y());
        ini.writeString(section, QStringLiteral("PositionBar"),
                        m_barAtBottom ? QStringLiteral("bottom") : QStringLiteral("top"));
    }
    m_services.settings().flushUserIni();
    m_frame.setCurrentCheckTypeId(-1);
    if (s_openForms[int(m_kind)] == this)
        s_openForms[int(m_kind)] = nullptr;
    QWidget::closeEvent(event);
}

bool BillForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bgImage && event->type() == QEvent::MouseButtonPress)
        pictureClicked();
    // The name lists are read when first needed.
    for (bool sender : {true, false}) {
        QComboBox *box = nameBox(sender);
        if (watched == box && event->type() == QEvent::FocusIn && box->count() == 0) {
            const QSignalBlocker block(box);
            const QString text = box->currentText();
            box->addItems(m_services.parties().loadCompanyList(sender ? TPerson::kOwnUnit
                                                                      : TPerson::kCounterparty));
            box->setEditText(text);
        }
    }
    return QWidget::eventFilter(watched, event);
}
