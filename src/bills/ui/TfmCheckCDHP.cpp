#include "bills/ui/TfmCheckCDHP.h"

#include "base/Ui.h"
#include "bills/AmountText.h"
#include "bills/DraftBill.h"
#include "bills/DraftFields.h"
#include "bills/DraftRules.h"
#include "data/Parties.h"
#include "parties/Dictionaries.h"
#include "services/AppServices.h"
#include "services/BillHost.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace {

const QString kRmb = QStringLiteral("人民币");
const QString kAmountTitle = QStringLiteral("金额输入");

const QStringList kCustomFields{"zdDef1", "zdDef2", "zdDef3", "zdDef4", "zdDef5"};

} // namespace

TfmCheckCDHP::TfmCheckCDHP(BillHost &frame, QWidget *parent)
    : BillForm(
          frame, BillFormTexts::acceptanceDraft(), BillKind::AcceptanceDraft, DraftFields::all(),
          QStringList{"btUpOrDown", "btMoveXY", "btDesign", "btSaveSKRen", "btOpenCheck",
                      "btNewCheck", "btSaveAs", "btSaveCheck", "btPrint1", "btPrintAndSave",
                      "btMultiPrintS", "btMultiPrintF", "btClose"},
          {{"btSaveSKRen", "存收款人", "保存收款人到地址本（单位管理）", QStyle::SP_DirHomeIcon},
           {"btSaveCheck", "保存(&S)", "保存填写的承兑汇票数据", QStyle::SP_DialogSaveButton},
           {"btMultiPrintS", "批量打印", "批量打印承兑汇票列表", QStyle::SP_FileDialogListView},
           {"btMultiPrintF", "重复打印", "重复打印多份当前填写的票据", QStyle::SP_BrowserReload}},
          parent)
{
    m_printAndSaveDisables = false;
    buildOptionsBar();
    buildFieldBehaviour();
    start();
}

// ---- building ---------------------------------------------------------------------------

void TfmCheckCDHP::buildOptionsBar()
{
    // Seven options share the picture's width: keep them tight so every caption shows.
    optionsRow()->setSpacing(1);
    QFont small = shortbar->font();
    small.setPixelSize(11);
    shortbar->setFont(small);
    shortbar->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
    optionsRow()->setContentsMargins(2, 0, 2, 0);
    addOptionLabel("lbBiz", QStringLiteral("币种:"));
    cfgMoneyType = new QComboBox(shortbar);
    cfgMoneyType->setFixedWidth(72);
    cfgMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    cfgMoneyType->addItems(m_services.dictionaries().loadMoneyTypeList());
    cfgMoneyType->setCurrentIndex(cfgMoneyType->findText(kRmb));
    optionsRow()->addWidget(cfgMoneyType);
    cfgNoPrtDate = addOptionBox("cfgNoPrtDate", "不打印出票日期",
                                "如果一直不打印日期，可到设计模式中隐藏日期项目");
    cfgDateChinese = addOptionBox("cfgDateChinese", "大写日期", "");
    cfgDateChinese->setChecked(true);
    cfgJEDXRMBChecked = addOptionBox("cfgJEDXRMBChecked", "大写带人民币", "");
    cfgJEDXRMBChecked->setChecked(true);
    cfgNoPrtSheep = addOptionBox("cfgNoPrtSheep", "不打印限位符￥", "");
    cfgNoPrtJEXX = addOptionBox("cfgNoPrtJEXX", "不打印小写格", "");
    cfgNoPrtJEDX = addOptionBox("cfgNoPrtJEDX", "不打印大写", "");
    cfgNoPrtOutter = addOptionBox("cfgNoPrtOutter", "不打印出票人", "");
    addRememberButton(QStringLiteral("【记住选项】"));

    connect(cfgMoneyType, &QComboBox::activated, this, &TfmCheckCDHP::cfgMoneyTypeChange);
    for (QCheckBox *box : {cfgNoPrtDate, cfgNoPrtJEXX, cfgNoPrtJEDX, cfgNoPrtOutter})
        connect(box, &QCheckBox::clicked, this, &TfmCheckCDHP::applyOptions);
    for (QCheckBox *box : {cfgNoPrtSheep, cfgJEDXRMBChecked})
        connect(box, &QCheckBox::clicked, this, &TfmCheckCDHP::inputJEXXExit);
    connect(cfgDateChinese, &QCheckBox::clicked, this, &TfmCheckCDHP::updateDateFields);
}

void TfmCheckCDHP::buildFieldBehaviour()
{
    inputJEXX = static_cast<QLineEdit *>(field(QStringLiteral("inputJEXX")));
    connect(inputJEXX, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (fieldText(QStringLiteral("zdJEXX")) != text)
            setFieldText(QStringLiteral("zdJEXX"), text);
    });
    connect(inputJEXX, &QLineEdit::returnPressed, this, &TfmCheckCDHP::inputJEXXExit);

    // The prompt is only shown: it is never saved nor printed.
    auto *payee = static_cast<QComboBox *>(field(QStringLiteral("zdInComp")));
    payee->lineEdit()->setPlaceholderText(DraftFields::kPayeePrompt);
    connect(payee->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        QWidget *account = field(QStringLiteral("zdInBankAcct"));
        if (!lookUpParty(false, false) && account->isVisible()) {
            static_cast<QLineEdit *>(account)->selectAll();
            account->setFocus();
        }
    });
    auto *due = static_cast<QComboBox *>(field(QStringLiteral("zdTimeOutDate")));
    connect(due->lineEdit(), &QLineEdit::returnPressed, this, &TfmCheckCDHP::zdTimeOutDateExit);
    // A double click lands on the boxes' line edits, not on the boxes.
    for (QComboBox *box : {payee, due})
        box->lineEdit()->installEventFilter(this);
    for (const QString &cell : DraftFields::amountCells())
        field(cell)->setFocusPolicy(Qt::NoFocus);
}

// ---- amount -------------------------------------------------------------------------------

void TfmCheckCDHP::openAmountEntry(QWidget *over)
{
    inputJEXX->setGeometry(over->geometry());
    inputJEXX->show();
    inputJEXX->raise();
    inputJEXX->selectAll();
    inputJEXX->setFocus();
}

void TfmCheckCDHP::clearAmount()
{
    BillValues cleared;
    DraftBill::clearAmount(cleared);
    loadValues(cleared);
}

bool TfmCheckCDHP::amountKeyDiscarded(const QKeyEvent &key)
{
    if (key.modifiers() & Qt::ControlModifier)
        return false; // copy, paste and select all still work
    const int k = key.key();
    return (k >= Qt::Key_A && k <= Qt::Key_Z) || k == Qt::Key_Space || k == Qt::Key_Minus;
}

bool TfmCheckCDHP::inputJEXXExit()
{
    inputJEXX->setText(normalizeAmountText(inputJEXX->text()));
    const DraftRules::AmountEntry entry = DraftRules::readAmount(inputJEXX->text());
    using Status = DraftRules::AmountEntry::Status;
    if (entry.status != Status::Valid) {
        clearAmount();
        if (entry.status == Status::Empty) {
            inputJEXX->hide();
            return true;
        }
        // The typed text stays in the entry, selected, for the clerk to correct.
        m_services.ui().alert(entry.status == Status::NotNumber
                                  ? QStringLiteral("金额只能为数值，例如：123.50  ！")
                                  : QStringLiteral("金额值必须介于0~1,000,000,000之间！"),
                              kAmountTitle);
        if (inputJEXX->isVisible()) {
            inputJEXX->selectAll();
            inputJEXX->setFocus();
        }
        return false;
    }
    BillValues amount;
    alertOverflow(DraftBill::setAmount(amount, entry.amount, options()));
    loadValues(amount);
    inputJEXX->hide();
    return true;
}

void TfmCheckCDHP::alertOverflow(int digits)
{
    for (int i = 0; i < digits; ++i)
        m_services.ui().alert(QStringLiteral("    溢出   "), QStringLiteral("出错"));
}

DraftOptions TfmCheckCDHP::options()
{
    DraftOptions o;
    o.moneyName = m_moneyName;
    o.moneyCode = getMoneyCode();
    o.capitalDates = cfgDateChinese->isChecked();
    o.capitalWithRmb = cfgJEDXRMBChecked->isChecked();
    o.noYuanSign = cfgNoPrtSheep->isChecked();
    o.noPrintDate = cfgNoPrtDate->isChecked();
    o.noPrintCells = cfgNoPrtJEXX->isChecked();
    o.noPrintCapital = cfgNoPrtJEDX->isChecked();
    o.noPrintDrawer = cfgNoPrtOutter->isChecked();
    return o;
}

bool TfmCheckCDHP::commitTyping()
{
    return !inputJEXX->isVisible() || inputJEXXExit();
}

// ---- currency -----------------------------------------------------------------------------

QString TfmCheckCDHP::getMoneyCode()
{
    if (m_moneyCode.isEmpty()) {
        cfgMoneyType->setCurrentIndex(cfgMoneyType->findText(m_moneyName));
        m_moneyCode = m_services.dictionaries().getMoneyCodeByName(m_moneyName);
    }
    return m_moneyCode;
}

void TfmCheckCDHP::setMoneyName(const QString &name)
{
    m_moneyName = name.isEmpty() ? kRmb : name;
    m_moneyCode.clear();
    cfgMoneyType->setCurrentIndex(cfgMoneyType->findText(m_moneyName));
}

void TfmCheckCDHP::cfgMoneyTypeChange()
{
    if (cfgMoneyType->currentText() != m_moneyName) {
        m_moneyName = cfgMoneyType->currentText();
        m_moneyCode.clear();
        markModified();
    }
    // The capital amount and the cells carry the currency: convert the amount again.
    if (inputJEXX->text().isEmpty())
        inputJEXX->setText(fieldText(QStringLiteral("zdJEXX")));
    inputJEXXExit();
}

// ---- dates --------------------------------------------------------------------------------

bool TfmCheckCDHP::capitalDates() const
{
    return cfgDateChinese->isChecked();
}

void TfmCheckCDHP::zdTimeOutDateExit()
{
    auto *due = static_cast<QComboBox *>(field(QStringLiteral("zdTimeOutDate")));
    const DraftRules::DueDate date = DraftRules::readDueDate(due->currentText(), SelDate->date());
    if (date.status == DraftRules::DueDate::Status::Converted) {
        due->setEditText(date.text);
    } else if (date.status == DraftRules::DueDate::Status::Unreadable) {
        m_services.ui().alert(QStringLiteral("请输入正确的日期格式(如：2009.12.15 或 2009-12-15 ),"
                                             "若是出票后的多少天，请输入如：+180 ."),
                              QStringLiteral("提示"));
        if (due->isVisible()) {
            due->lineEdit()->selectAll();
            due->setFocus();
        }
    }
}

// ---- options ------------------------------------------------------------------------------

void TfmCheckCDHP::applyOptions()
{
    showFields(DraftBill::dateFields(), !cfgNoPrtDate->isChecked());
    showFields(DraftBill::drawerFields(), !cfgNoPrtOutter->isChecked());
    showFields({QStringLiteral("zdJEDX")}, !cfgNoPrtJEDX->isChecked());
    showFields(DraftBill::cellFields(), !cfgNoPrtJEXX->isChecked());
}

void TfmCheckCDHP::laidOut()
{
    // The entry appears over the amount only while the clerk types, and Tab leaves it for
    // the field after the amount.
    inputJEXX->hide();
    QWidget::setTabOrder(field(QStringLiteral("zdJEDX")), inputJEXX);
    applyOptions();
}

void TfmCheckCDHP::loadCheckBoxsConfig()
{
    const IniFile *cache = m_cache.get();
    // A template that never remembered its options keeps the defaults: capital dates and
    // 人民币 before the capital amount, as drafts are written.
    for (QCheckBox *box : {cfgDateChinese, cfgJEDXRMBChecked}) {
        const QString value = Settings::getInifCheckConfigByName(cache, box->objectName());
        box->setChecked(value.isEmpty() || value == u"1");
    }
    QString money = Settings::getInifCheckConfigByName(cache, QStringLiteral("cfgMoneyType"));
    if (money.isEmpty())
        money = Settings::getInifCheckConfigByName(cache, QStringLiteral("cfgDefaultMoney"));
    setMoneyName(money);
}

QList<const QCheckBox *> TfmCheckCDHP::rememberedBoxes() const
{
    return {cfgDateChinese, cfgJEDXRMBChecked};
}

const QComboBox *TfmCheckCDHP::rememberedChoice() const
{
    return cfgMoneyType;
}

// ---- parties ------------------------------------------------------------------------------

void TfmCheckCDHP::pickParty(bool sender)
{
    if (QWidget *account = field(QStringLiteral("zdOutBankAcct")); sender && account->isVisible())
        account->setFocus();
    BillForm::pickParty(sender);
}

// ---- save, new, reopen --------------------------------------------------------------------

QHash<QString, QString> TfmCheckCDHP::rowValues() const
{
    QHash<QString, QString> row;
    for (const BillField &f : DraftFields::all()) {
        // A custom field the template hides holds nothing of this draft.
        if (f.column.isEmpty() ||
            (kCustomFields.contains(f.control) && field(f.control)->isHidden()))
            continue;
        row.insert(f.column, fieldText(f.control));
    }
    if (row.value(QStringLiteral("收款人全称")) == DraftFields::kPayeePrompt)
        row.insert(QStringLiteral("收款人全称"), QString());
    row.insert(QStringLiteral("出票日期"), SelDate->date().toString(Qt::ISODate));
    row.insert(QStringLiteral("币种"), cfgMoneyType->currentText());
    row.insert(QStringLiteral("票据状态"), QStringLiteral("已用"));
    return row;
}

void TfmCheckCDHP::loadRow(const QHash<QString, QString> &row)
{
    setMoneyName(row.value(QStringLiteral("币种")));
    inputJEXX->setText(row.value(QStringLiteral("金额")));
    inputJEXXExit();
    // Every other stored field comes from the row, so nothing of the draft shown before
    // survives into a reprint or a copy.
    for (const BillField &f : DraftFields::all())
        if (!f.column.isEmpty() && f.kind != BillField::Kind::Date && f.control != u"zdJEXX")
            setFieldText(f.control, row.value(f.column));
    zdTimeOutDateExit();
    const QDate issued =
        QDate::fromString(row.value(QStringLiteral("出票日期")).left(10), Qt::ISODate);
    if (issued.isValid())
        SelDate->setDate(issued);
    updateDateFields();
}

void TfmCheckCDHP::reopened(const QHash<QString, QString> &row, const QString &billIdText)
{
    const QString status = row.value(QStringLiteral("票据状态"));
    if (!status.isEmpty() && status != u"未用") {
        BillForm::reopened(row, billIdText);
        return;
    }
    // A draft not used yet (an import, say) is edited and saved in place.
    m_saved = false;
    m_history = false;
    setWindowTitle(u"承兑汇票（流水号为：" + billIdText + u')');
}

// ---- window -------------------------------------------------------------------------------

void TfmCheckCDHP::pictureClicked()
{
    if (SelDate->isVisible())
        SelDate->setFocus();
    else if (cbFirstTypeName->isVisible())
        cbFirstTypeName->setFocus();
    else
        button(QStringLiteral("btPrint1"))->setFocus();
    inputJEXXExit();
}

bool TfmCheckCDHP::eventFilter(QObject *watched, QEvent *event)
{
    auto is = [&](const char *name) { return watched == field(QString::fromLatin1(name)); };
    switch (event->type()) {
    case QEvent::FocusIn:
        if (is("zdJEDX") || is("zdJEXX"))
            openAmountEntry(static_cast<QWidget *>(watched));
        break;
    case QEvent::FocusOut:
        // Leaving the entry converts too: a half-typed amount must never print.
        {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
                break;
            if (watched == inputJEXX && inputJEXX->isVisible())
                QMetaObject::invokeMethod(this, &TfmCheckCDHP::commitTyping, Qt::QueuedConnection);
            else if (is("zdTimeOutDate"))
                zdTimeOutDateExit();
            break;
        }
    case QEvent::KeyPress:
        if (watched == inputJEXX && amountKeyDiscarded(*static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::MouseButtonDblClick:
        // The whole name or date, not the word under the mouse.
        for (const char *name : {"zdInComp", "zdTimeOutDate"})
            if (auto *edit = static_cast<QComboBox *>(field(QString::fromLatin1(name)))->lineEdit();
                watched == edit) {
                edit->selectAll();
                return true;
            }
        break;
    case QEvent::MouseButtonRelease:
        if (is("zdCDXYBH"))
            static_cast<QLineEdit *>(watched)->selectAll();
        break;
    default:
        break;
    }
    return BillForm::eventFilter(watched, event);
}
