#include "parties/ui/Tfrm_PersonInfo.h"

#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "parties/AddressBook.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kInitialAccountType = QStringLiteral("收件单位");

// Which box shows which party field.
struct BoxField
{
    const char *box;
    QString TPerson::*field;
};
const BoxField kBoxFields[] = {
    {"edtIdentity", &TPerson::Identity},
    {"edtName", &TPerson::FullName},
    {"edtInputCode", &TPerson::InputCode},
    {"edtCountry", &TPerson::Country},
    {"edtProvince", &TPerson::Province},
    {"edtCity", &TPerson::City},
    {"edtTown", &TPerson::Town},
    {"edtAddress", &TPerson::Address},
    {"edtZipcode", &TPerson::Zipcode},
    {"edtContactor", &TPerson::Contactor},
    {"edtPhone", &TPerson::Phone},
    {"edtHandset", &TPerson::Handset},
    {"edtBank", &TPerson::Bank},
    {"edtBankAcct", &TPerson::BankAcct},
    {"edtBankAddr", &TPerson::BankAddr},
    {"edtBankNo", &TPerson::BankNo},
    {"edtRemark", &TPerson::Remark},
    {"edtDef1", &TPerson::Def1},
    {"edtDef2", &TPerson::Def2},
    {"edtDef3", &TPerson::Def3},
    {"cbAcountType", &TPerson::AcountType},
    {"edtGroup", &TPerson::Group},
};

// What "重 填 (&N)" empties; identity, bank, custom and unit-type boxes keep their values.
const char *const kClearedBoxes[] = {
    "edtName",      "edtInputCode", "edtGroup", "edtCountry", "edtHandset", "edtRemark", "edtPhone",
    "edtContactor", "edtProvince",  "edtCity",  "edtAddress", "edtZipcode", "edtTown",
};

const QString kMnemonicHelp =
    QStringLiteral("助记码不是必填项目，该项目主要用来辅助输入。\n\n"
                   "例如：在收方单位输入\"lyn01\"按回车键,调入助记码等于\"lyn01\"的第1个单位;\n"
                   "例如：在收方单位输入\"lyn%\"按回车键,调入助记码含有\"lyn\"的第1个单位;");

QString textOf(const QWidget *box)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(box))
        return edit->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(box))
        return combo->currentText();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(box))
        return memo->toPlainText();
    return {};
}

void setTextOf(QWidget *box, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->setEditText(text);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(box))
        memo->setPlainText(text);
}

// New items for a combo box without losing what the user typed in it.
void refill(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

QComboBox *comboBox(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(20);
    return combo;
}

QLineEdit *lineEdit(QWidget *parent)
{
    return new QLineEdit(parent);
}

} // namespace

Tfrm_PersonInfo::Tfrm_PersonInfo(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frm_PersonInfo"));
    setWindowTitle(QStringLiteral("单位详细资料"));
    buildLayout();
    refillLists();
}

QWidget *Tfrm_PersonInfo::addBox(QWidget *box, const char *name, int maxLength)
{
    box->setObjectName(QString::fromLatin1(name));
    m_boxes.insert(box->objectName(), box);
    QLineEdit *edit = qobject_cast<QLineEdit *>(box);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        edit = combo->lineEdit();
    if (edit && maxLength > 0)
        edit->setMaxLength(maxLength);
    box->installEventFilter(this);
    if (edit && edit != box)
        edit->installEventFilter(this);
    return box;
}

void Tfrm_PersonInfo::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("单位详细资料"), this);
    makeHeading(heading, 1.5);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    auto *required = new QLabel(QStringLiteral("注意:*号为必填项;"), this);
    required->setStyleSheet(QStringLiteral("color: red"));
    layout->addWidget(required);

    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    auto label = [&](const QString &text, int r, int c) {
        grid->addWidget(new QLabel(text, this), r, c, Qt::AlignRight | Qt::AlignVCenter);
    };
    // Two label/box pairs a row; a box given `span` takes the rest of the row.
    auto pair = [&](const QString &text, QWidget *box, int column = 0, int span = 1) {
        label(text, row, column);
        grid->addWidget(box, row, column + 1, 1, span);
    };

    pair(QStringLiteral("识别号："), addBox(lineEdit(this), "edtIdentity", 12));
    grid->addWidget(new QLabel(QStringLiteral("（企业纳税识别号或者个人身份证号）"), this), row++,
                    2, 1, 2);
    pair(QStringLiteral("*单位全称："), addBox(lineEdit(this), "edtName"), 0, 3);
    ++row;
    auto *mnemonic = new ClickableLabel(QStringLiteral("输入助记码："), this);
    mnemonic->setObjectName(QStringLiteral("lbInputCode"));
    connect(mnemonic, &ClickableLabel::clicked, this,
            [this] { m_services.ui().alert(kMnemonicHelp, QStringLiteral("message")); });
    grid->addWidget(mnemonic, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(addBox(lineEdit(this), "edtInputCode", 12), row, 1);
    m_accountType = comboBox(this);
    m_accountType->addItems({TPerson::kOwnUnit, TPerson::kCounterparty});
    m_accountType->setEditText(kInitialAccountType);
    pair(QStringLiteral("单位类型："), addBox(m_accountType, "cbAcountType"), 2);
    ++row;
    m_country = comboBox(this);
    m_country->setEditText(QStringLiteral("中国"));
    pair(QStringLiteral("国家："), addBox(m_country, "edtCountry"), 0);
    m_province = comboBox(this);
    pair(QStringLiteral("省："), addBox(m_province, "edtProvince"), 2);
    ++row;
    m_city = comboBox(this);
    pair(QStringLiteral("市县："), addBox(m_city, "edtCity"), 0);
    m_town = comboBox(this);
    pair(QStringLiteral("镇区："), addBox(m_town, "edtTown"), 2);
    ++row;
    auto *address = new QPlainTextEdit(this);
    address->setTabChangesFocus(true);
    address->setFixedHeight(address->fontMetrics().lineSpacing() * 3 + 12);
    auto *addressLabel = new QLabel(QStringLiteral("单位地址：\n(建议包含镇区)"), this);
    addressLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(addressLabel, row, 0);
    grid->addWidget(addBox(address, "edtAddress"), row++, 1, 1, 3);
    pair(QStringLiteral("邮编："), addBox(lineEdit(this), "edtZipcode", 30), 0);
    pair(QStringLiteral("*联系人："), addBox(lineEdit(this), "edtContactor", 50), 2);
    ++row;
    pair(QStringLiteral("电话："), addBox(lineEdit(this), "edtPhone", 40), 0);
    pair(QStringLiteral("手机："), addBox(lineEdit(this), "edtHandset", 40), 2);
    ++row;
    pair(QStringLiteral("开户银行："), addBox(lineEdit(this), "edtBank", 100), 0);
    pair(QStringLiteral("开户行账号："), addBox(lineEdit(this), "edtBankAcct", 100), 2);
    ++row;
    pair(QStringLiteral("银行地址："), addBox(lineEdit(this), "edtBankAddr", 100), 0);
    pair(QStringLiteral("银行行号：\n(可不填写)"), addBox(lineEdit(this), "edtBankNo", 100), 2);
    ++row;
    pair(QStringLiteral("其他备注："), addBox(lineEdit(this), "edtRemark", 100), 0, 3);
    ++row;
    pair(QStringLiteral("自定义1："), addBox(lineEdit(this), "edtDef1", 100), 0);
    pair(QStringLiteral("自定义2："), addBox(lineEdit(this), "edtDef2", 100), 2);
    ++row;
    pair(QStringLiteral("自定义3："), addBox(lineEdit(this), "edtDef3", 100), 0);
    m_group = comboBox(this);
    pair(QStringLiteral("单位分组："), addBox(m_group, "edtGroup"), 2);
    ++row;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    layout->addWidget(
        new QLabel(QStringLiteral("   对于一个单位多个收件人情况，修改时点击[多头单位]"
                                  "按钮，保存后即新增一个多头单位。"),
                   this));

    m_id = new QLabel(this);
    m_id->setObjectName(QStringLiteral("edtID"));
    m_id->hide();
    auto *reload = namedButton(this, "btLoadByID", QStringLiteral("loadbyID"));
    reload->hide();
    connect(reload, &QPushButton::clicked, this, &Tfrm_PersonInfo::btLoadByIDClick);

    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    m_continueAdd = new QCheckBox(QStringLiteral("单位保存后立即新增"), this);
    m_continueAdd->setObjectName(QStringLiteral("ckContinueAdd"));
    buttons->addWidget(m_continueAdd);
    buttons->addStretch();
    auto *clear = namedButton(this, "btClear", QStringLiteral("重 填 (&N)"));
    m_mutiAcount = namedButton(this, "btMutiAcount", QStringLiteral("多头单位(&C)"));
    m_mutiAcount->setToolTip(QStringLiteral("副本保存需修改银行账号"));
    m_save = namedButton(this, "btSave", QStringLiteral("保  存(&S)"));
    auto *saveClose = namedButton(this, "btSaveClose", QStringLiteral("保存并关闭(&M)"));
    auto *close = namedButton(this, "btClose", QStringLiteral("关  闭(&X)"));
    for (QPushButton *b : {clear, m_mutiAcount, m_save, saveClose, close})
        buttons->addWidget(b);
    connect(clear, &QPushButton::clicked, this, &Tfrm_PersonInfo::btClearClick);
    connect(m_mutiAcount, &QPushButton::clicked, this, &Tfrm_PersonInfo::btMutiAcountClick);
    connect(m_save, &QPushButton::clicked, this, &Tfrm_PersonInfo::btSaveClick);
    connect(saveClose, &QPushButton::clicked, this, &Tfrm_PersonInfo::btSaveCloseClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    connect(m_province, &QComboBox::currentTextChanged, this, &Tfrm_PersonInfo::listCities);
    connect(m_country, &QComboBox::currentTextChanged, this, &Tfrm_PersonInfo::listCities);
}

void Tfrm_PersonInfo::refillLists()
{
    const AddressBook book(m_services.database());
    if (const QStringList groups = book.groups(); !groups.isEmpty())
        refill(m_group, groups);
    refill(m_country, book.countries());
    refill(m_province, m_services.dictionaries().loadProvinces());
    listCities();
}

void Tfrm_PersonInfo::listCities()
{
    refill(m_city,
           m_services.dictionaries().loadCitysByProvince(m_province->currentText().trimmed()));
}

void Tfrm_PersonInfo::townLeft()
{
    const QString town = m_town->currentText();
    QWidget *address = box(QStringLiteral("edtAddress"));
    if (!textOf(address).contains(town))
        setTextOf(address, town + textOf(address));
}

QString Tfrm_PersonInfo::idText() const
{
    return m_id->text();
}

void Tfrm_PersonInfo::setIdText(const QString &id)
{
    m_id->setText(id);
    // Whoever names the row also says which version of it the boxes hold.
    m_rowVersion = -1;
}

void Tfrm_PersonInfo::showParty(const TPerson &party, int storedId)
{
    setIdText(storedId > 0 ? QString::number(storedId) : QString());
    m_rowVersion = storedId > 0 ? party.RowVersion : -1;
    for (const BoxField &b : kBoxFields)
        setTextOf(box(QString::fromLatin1(b.box)), party.*b.field);
    m_accountType->setEditText(party.AcountType == TPerson::kCounterparty ? TPerson::kCounterparty
                                                                          : TPerson::kOwnUnit);
}

TPerson Tfrm_PersonInfo::party() const
{
    TPerson p;
    p.ID = idText().trimmed().toInt();
    p.RowVersion = m_rowVersion;
    for (const BoxField &b : kBoxFields)
        p.*b.field = textOf(box(QString::fromLatin1(b.box)));
    p.AcountType = p.AcountType == TPerson::kOwnUnit ? TPerson::kOwnUnit : TPerson::kCounterparty;
    return p;
}

bool Tfrm_PersonInfo::btSaveClick()
{
    const TPerson p = party();
    const bool isNew = idText().isEmpty();
    const PartySave outcome = m_services.parties().store(p);
    if (outcome.changedElsewhere) {
        if (m_services.ui().ask(outcome.error + u"\n是否重新读取该单位的资料？", kPrompt))
            btLoadByIDClick();
        return false;
    }
    if (!outcome.error.isEmpty()) {
        m_services.ui().error(u"添加更新失败，Error=" + outcome.error);
        return false;
    }
    // Later saves of what is on screen change this row, instead of storing the same party
    // again on a second click.
    setIdText(QString::number(outcome.id));
    m_rowVersion = outcome.rowVersion;
    m_services.ui().alert(isNew ? QStringLiteral("新增单位资料添加成功！")
                                : QStringLiteral("历史单位资料资料更新成功！"),
                          kPrompt);
    if (m_openedFromList)
        Q_EMIT saved();
    m_mutiAcount->setFocus();
    if (m_continueAdd->isChecked())
        btClearClick();
    return true;
}

void Tfrm_PersonInfo::btSaveCloseClick()
{
    if (btSaveClick())
        accept();
}

void Tfrm_PersonInfo::btClearClick()
{
    for (const char *name : kClearedBoxes)
        setTextOf(box(QString::fromLatin1(name)), {});
    setIdText({});
}

void Tfrm_PersonInfo::btMutiAcountClick()
{
    setIdText({});
    auto *contact = qobject_cast<QLineEdit *>(box(QStringLiteral("edtContactor")));
    contact->setFocus();
    contact->selectAll();
}

void Tfrm_PersonInfo::btLoadByIDClick()
{
    if (idText().isEmpty())
        return;
    TPerson p;
    p.ID = idText().toInt();
    if (m_services.parties().LoadByID(p) != 1)
        p = TPerson();
    m_rowVersion = p.RowVersion;
    for (const BoxField &b : kBoxFields)
        setTextOf(box(QString::fromLatin1(b.box)), p.*b.field);
}

void Tfrm_PersonInfo::showEvent(QShowEvent *event)
{
    refillLists();
    ::FormFaceLoad(*this, m_services.settings().userIni());
    QDialog::showEvent(event);
}

void Tfrm_PersonInfo::done(int result)
{
    ::FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}

QWidget *Tfrm_PersonInfo::nextOnEnter(QWidget *from) const
{
    static const QHash<QString, QString> next = {
        {QStringLiteral("edtName"), QStringLiteral("edtInputCode")},
        {QStringLiteral("edtInputCode"), QStringLiteral("edtCountry")},
        {QStringLiteral("edtIdentity"), QStringLiteral("edtCountry")},
        {QStringLiteral("edtCountry"), QStringLiteral("edtProvince")},
        {QStringLiteral("edtProvince"), QStringLiteral("edtCity")},
        {QStringLiteral("edtCity"), QStringLiteral("edtTown")},
        {QStringLiteral("edtTown"), QStringLiteral("edtAddress")},
        {QStringLiteral("edtAddress"), QStringLiteral("edtZipcode")},
        {QStringLiteral("edtZipcode"), QStringLiteral("edtContactor")},
        {QStringLiteral("edtContactor"), QStringLiteral("edtPhone")},
        {QStringLiteral("edtPhone"), QStringLiteral("edtHandset")},
        {QStringLiteral("edtRemark"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtBank"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtBankAcct"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtBankAddr"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtBankNo"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtDef1"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtDef2"), QStringLiteral("cbAcountType")},
        {QStringLiteral("edtDef3"), QStringLiteral("cbAcountType")},
        {QStringLiteral("cbAcountType"), QStringLiteral("edtGroup")},
    };
    if (from->objectName() == u"edtGroup")
        return m_save;
    return box(next.value(from->objectName()));
}

bool Tfrm_PersonInfo::eventFilter(QObject *watched, QEvent *event)
{
    // The line edit inside a combo box speaks for its combo box.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget && !m_boxes.contains(widget->objectName()) && widget->parentWidget())
        widget = widget->parentWidget();
    if (!widget || !m_boxes.contains(widget->objectName()))
        return QDialog::eventFilter(watched, event);

    QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        edit = combo->lineEdit();
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            break;
        if (QWidget *next = nextOnEnter(widget))
            next->setFocus(Qt::TabFocusReason);
        return true; // Enter never closes the window nor breaks the address line
    }
    case QEvent::FocusIn:
        // After the mouse press has placed the cursor, so the whole text stays selected.
        if (edit)
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(widget))
            QTimer::singleShot(0, memo, &QPlainTextEdit::selectAll);
        break;
    case QEvent::MouseButtonDblClick:
        if (edit) {
            edit->selectAll();
            return true;
        }
        break;
    case QEvent::FocusOut:
        if (widget == m_town && !m_town->hasFocus())
            townLeft();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
