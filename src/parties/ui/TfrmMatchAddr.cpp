#include "parties/ui/TfrmMatchAddr.h"

#include "base/Gbk.h"
#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "batch/ReceiverList.h"
#include "services/AppServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");
constexpr int kMemoLimit = 1024;
constexpr int kRemarkLimit = 60;

// The result boxes: object name, caption and the party field each one fills.
struct ResultBox
{
    const char *name;
    const char *caption;
    QString TPerson::*field;
};

const ResultBox kResultBoxes[] = {
    {"edtCompany", "单位全称:", &TPerson::FullName}, {"edtName", "联系人:", &TPerson::Contactor},
    {"edtPhone", "电话:", &TPerson::Phone},          {"edtHandset", "手机:", &TPerson::Handset},
    {"cbCountry", "国家:", &TPerson::Country},       {"edtProvince", "省:", &TPerson::Province},
    {"edtCity", "市/县:", &TPerson::City},           {"edtTown", "镇/区:", &TPerson::Town},
    {"edtAddress", "地址:", &TPerson::Address},      {"edtZipcode", "邮编:", &TPerson::Zipcode},
};

const RecognizedField &fieldOf(const RecognizedAddress &r, const char *box)
{
    const std::pair<const char *, const RecognizedField *> fields[] = {
        {"edtCompany", &r.company}, {"edtName", &r.contact},   {"edtPhone", &r.phone},
        {"edtHandset", &r.handset}, {"cbCountry", &r.country}, {"edtProvince", &r.province},
        {"edtCity", &r.city},       {"edtTown", &r.town},      {"edtAddress", &r.address},
        {"edtZipcode", &r.zipcode},
    };
    for (const auto &[name, field] : fields)
        if (qstrcmp(name, box) == 0)
            return *field;
    Q_UNREACHABLE();
}

// The memo shows plain lines; the rules want CR LF, which normalising puts back.
QString forDisplay(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace

TfrmMatchAddr::TfrmMatchAddr(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_lists(services.database())
{
    setObjectName(QStringLiteral("frmMatchAddr"));
    setWindowTitle(QStringLiteral("岚砚软件-收发件人资料识别"));
    setModal(true);
    buildLayout();
    listRemarks(0);
}

void TfrmMatchAddr::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    columns->addWidget(buildSourcePanel(), 3);
    auto *right = new QVBoxLayout;
    right->addWidget(buildResultPanel());
    right->addWidget(buildRemarkPanel(), 1);
    columns->addLayout(right, 2);
    layout->addLayout(columns, 1);

    auto *buttons = new QHBoxLayout;
    btPasteNoClose = namedButton(this, "btPasteNoClose", QStringLiteral("2.0 粘贴不关闭"),
                                 QStringLiteral("粘贴为发件人，并继续填写下一条"));
    btPasteToFJR = namedButton(this, "btPasteToFJR", QStringLiteral("2.1 粘贴为发件人"));
    btPasteToSJR = namedButton(this, "btPasteToSJR", QStringLiteral("2.2 粘贴为收件人"),
                               QStringLiteral("粘贴为收件人，并关闭窗口"));
    QPushButton *close = namedButton(this, "btFrmClose", QStringLiteral("关  闭"));
    buttons->addStretch();
    for (QPushButton *b : {btPasteNoClose, btPasteToFJR, btPasteToSJR, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    btPasteNoClose->hide();
    connect(btPasteNoClose, &QPushButton::clicked, this, [this] { paste(PasteButton::NoClose); });
    connect(btPasteToFJR, &QPushButton::clicked, this, [this] { paste(PasteButton::Sender); });
    connect(btPasteToSJR, &QPushButton::clicked, this, [this] { paste(PasteButton::Receiver); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(960, 600);
}

QWidget *TfrmMatchAddr::buildSourcePanel()
{
    auto *panel = new QWidget(this);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *group =
        new QGroupBox(QStringLiteral("需要识别的内容（~不规则地址请手工调整后再行识别~）:"), panel);
    auto *groupLayout = new QVBoxLayout(group);
    memoFrom = new QPlainTextEdit(group);
    memoFrom->setObjectName(QStringLiteral("memoFrom"));
    memoFrom->viewport()->installEventFilter(this);
    connect(memoFrom, &QPlainTextEdit::textChanged, this, &TfrmMatchAddr::limitMemo);
    groupLayout->addWidget(memoFrom);
    layout->addWidget(group, 1);

    auto *formats = new QHBoxLayout;
    const auto radio = [&](const char *name, const QString &caption) {
        auto *r = new QRadioButton(caption, panel);
        r->setObjectName(QString::fromLatin1(name));
        formats->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                formatChosen();
        });
        return r;
    };
    ckTaoBaoAddr = radio("ckTaoBaoAddr", QStringLiteral("淘宝收货地址"));
    ckEachNetAddr = radio("ckEachNetAddr", QStringLiteral("易趣收货地址"));
    ckPaiPaiAddr = radio("ckPaiPaiAddr", QStringLiteral("拍拍收货地址"));
    ckOtherAddr = radio("ckOtherAddr", QStringLiteral("其他地址"));
    formats->addStretch();
    layout->addLayout(formats);

    auto *note = new QHBoxLayout;
    note->addWidget(new QLabel(QStringLiteral("说明:"), panel), 0, Qt::AlignTop);
    lbAnounce = namedLabel(panel, "lbAnounce", {});
    lbAnounce->setWordWrap(true);
    lbAnounce->setMinimumHeight(48);
    lbAnounce->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->addWidget(lbAnounce, 1);
    layout->addLayout(note);
    ckTaoBaoAddr->setChecked(true);

    auto *actions = new QHBoxLayout;
    QPushButton *sample = namedButton(panel, "Button2", QStringLiteral("示例地址格式"));
    QPushButton *pasteButton =
        namedButton(panel, "btPasteClipboord", QStringLiteral("1.1 粘贴剪切板并识别"));
    QPushButton *match = namedButton(panel, "btMatch", QStringLiteral("1.2 只识别以上内容>>"));
    for (QPushButton *b : {sample, pasteButton, match})
        actions->addWidget(b);
    layout->addLayout(actions);
    connect(sample, &QPushButton::clicked, this, &TfrmMatchAddr::showSample);
    connect(pasteButton, &QPushButton::clicked, this, &TfrmMatchAddr::pasteClipboard);
    connect(match, &QPushButton::clicked, this, &TfrmMatchAddr::matchText);
    return panel;
}

QWidget *TfrmMatchAddr::buildResultPanel()
{
    auto *panel = new QWidget(this);
    auto *form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    for (const ResultBox &b : kResultBoxes) {
        auto *box = new QComboBox(panel);
        box->setObjectName(QString::fromLatin1(b.name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(240);
        form->addRow(QString::fromUtf8(b.caption), box);
    }
    QComboBox *address = box("edtAddress");
    // The rule runs on a chosen candidate and when the box is left, never while typing.
    connect(address, &QComboBox::activated, this, &TfrmMatchAddr::applyContainRule);
    connect(address->lineEdit(), &QLineEdit::editingFinished, this,
            &TfrmMatchAddr::applyContainRule);
    box("edtName")->lineEdit()->installEventFilter(this);

    auto *options = new QHBoxLayout;
    ckContainProviceCity = new QCheckBox(QStringLiteral("含省市"), panel);
    ckContainProviceCity->setObjectName(QStringLiteral("ckContainProviceCity"));
    ckContainProviceCity->setChecked(
        m_services.settings().getConfigByname(QStringLiteral("checkContainSS")) == u"checked");
    CheckBox1 = new QCheckBox(QStringLiteral("清空单位内容"), panel);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    options->addWidget(ckContainProviceCity);
    options->addWidget(CheckBox1);
    options->addStretch();
    form->addRow(options);
    connect(ckContainProviceCity, &QCheckBox::toggled, this, &TfrmMatchAddr::applyContainRule);
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            box("edtCompany")->setCurrentText({});
    });
    return panel;
}

QWidget *TfrmMatchAddr::buildRemarkPanel()
{
    auto *panel = new QWidget(this);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("附注内容:"), panel));
    ckRemark = new QCheckBox(QStringLiteral("附注填充备注"), panel);
    ckRemark->setObjectName(QStringLiteral("ckRemark"));
    ckWPNR = new QCheckBox(QStringLiteral("附注填充物品"), panel);
    ckWPNR->setObjectName(QStringLiteral("ckWPNR"));
    QPushButton *save = namedButton(panel, "btShowOrHideRemarkList", QStringLiteral("存为附注>>"));
    head->addWidget(ckRemark);
    head->addWidget(ckWPNR);
    head->addStretch();
    head->addWidget(save);
    layout->addLayout(head);
    for (auto [check, key] : {std::pair{ckRemark, "ckRemark"}, std::pair{ckWPNR, "ckWPNR"}}) {
        const QString k = QString::fromLatin1(key);
        check->setChecked(settingOn(k, true));
        connect(check, &QCheckBox::clicked, this, [this, k](bool on) {
            const QString error = m_services.settings().setConfigByname(
                k, on ? QStringLiteral("checked") : QStringLiteral("no"));
            if (!error.isEmpty())
                m_services.ui().error(u"设置保存失败：" + error);
        });
    }
    connect(save, &QPushButton::clicked, this, &TfrmMatchAddr::saveRemark);

    edtRemark = new QPlainTextEdit(panel);
    edtRemark->setObjectName(QStringLiteral("edtRemark"));
    edtRemark->setFixedHeight(48);
    connect(edtRemark, &QPlainTextEdit::textChanged, this, [this] {
        if (edtRemark->toPlainText().size() > kRemarkLimit) {
            edtRemark->setPlainText(edtRemark->toPlainText().left(kRemarkLimit));
            edtRemark->moveCursor(QTextCursor::End);
        }
    });
    layout->addWidget(edtRemark);

    layout->addWidget(new QLabel(QStringLiteral("可用备注或物品:"), panel));
    TabControl1 = new QTabBar(panel);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    for (const char *tab : {"字典管理", "历史物品", "历史备注"})
        TabControl1->addTab(QString::fromUtf8(tab));
    layout->addWidget(TabControl1);
    lstWuPingOrRemark = new QListWidget(panel);
    lstWuPingOrRemark->setObjectName(QStringLiteral("lstWuPingOrRemark"));
    layout->addWidget(lstWuPingOrRemark, 1);
    connect(TabControl1, &QTabBar::currentChanged, this, &TfrmMatchAddr::listRemarks);
    connect(lstWuPingOrRemark, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { edtRemark->setPlainText(item->text()); });
    return panel;
}

bool TfrmMatchAddr::settingOn(const QString &key, bool byDefault) const
{
    const std::optional<QString> value = m_services.settings().findConfig(key);
    return value ? *value == u"checked" : byDefault;
}

// ---- modes ---------------------------------------------------------------------------------

void TfrmMatchAddr::setSlipMode(std::function<void(const SlipPaste &)> toSlip)
{
    m_batch = false;
    m_toSlip = std::move(toSlip);
    m_listChanged = nullptr;
    btPasteNoClose->hide();
    btPasteToFJR->setEnabled(true);
    btPasteToSJR->setEnabled(true);
}

void TfrmMatchAddr::setBatchMode(std::function<void()> listChanged)
{
    m_batch = true;
    m_toSlip = nullptr;
    m_listChanged = std::move(listChanged);
    btPasteNoClose->show();
    btPasteToFJR->setEnabled(false);
    btPasteToSJR->setEnabled(true);
}

void TfrmMatchAddr::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        pasteClipboard();
}

// ---- recognition ---------------------------------------------------------------------------

AddressFormat TfrmMatchAddr::format() const
{
    if (ckEachNetAddr->isChecked())
        return AddressFormat::EachNet;
    if (ckPaiPaiAddr->isChecked())
        return AddressFormat::PaiPai;
    if (ckOtherAddr->isChecked())
        return AddressFormat::Other;
    return AddressFormat::TaoBao;
}

void TfrmMatchAddr::formatChosen()
{
    lbAnounce->setText(addressFormatNote(format()));
    // The page format changes the rules: what is in the memo is recognised again.
    if (!memoText().trimmed().isEmpty() && isVisible() && format() != AddressFormat::EachNet)
        matchText();
}

QString TfrmMatchAddr::memoText() const
{
    return memoFrom->toPlainText();
}

void TfrmMatchAddr::setMemoText(const QString &text)
{
    memoFrom->setPlainText(text);
}

void TfrmMatchAddr::limitMemo()
{
    const QString text = memoText();
    if (text.size() <= kMemoLimit)
        return;
    setMemoText(text.left(kMemoLimit));
    memoFrom->moveCursor(QTextCursor::End);
    m_services.ui().alert(
        QStringLiteral("识别内容最多%1个字符，超出的部分已截去，请分段识别。").arg(kMemoLimit),
        kPrompt);
}

void TfrmMatchAddr::pasteClipboard()
{
    const QString text = QApplication::clipboard()->text();
    const int bytes = Gbk::gbkLength(text);
    if (bytes < 20 || bytes > 2048) {
        // A message in the memo is no address: nothing is recognised from it.
        setMemoText(bytes < 20 ? QStringLiteral("剪切板中没有复制地址内容~")
                               : QStringLiteral("剪切板数据过长，岚砚处理不了！"));
        showResult(RecognizedAddress());
        return;
    }
    setMemoText(text);
    matchText();
}

void TfrmMatchAddr::matchText()
{
    const QString normalized = normalizeAddressText(memoText(), m_lists.otherCharReplacements());
    {
        // Labels gain a colon: the cleaned text may pass the limit the user's text kept.
        const QSignalBlocker quiet(memoFrom);
        setMemoText(forDisplay(normalized).trimmed());
    }
    recognize(normalized);
}

void TfrmMatchAddr::showSample()
{
    setMemoText(addressFormatSample(format()));
    // The second pass knows the contact of the first and takes it off the address.
    matchText();
    matchText();
}

void TfrmMatchAddr::recognize(const QString &normalized)
{
    AddressRecognitionOptions options;
    options.format = format();
    options.containProvinceCity = ckContainProviceCity->isChecked();
    options.contactHint = box("edtName")->currentText().trimmed();
    showResult(recognizeAddress(normalized, options));
}

void TfrmMatchAddr::showResult(const RecognizedAddress &result)
{
    for (const ResultBox &b : kResultBoxes) {
        QComboBox *combo = box(b.name);
        const RecognizedField &field = fieldOf(result, b.name);
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItems(field.candidates);
        combo->setCurrentText(field.text);
    }
    if (CheckBox1->isChecked())
        box("edtCompany")->setCurrentText({});
}

void TfrmMatchAddr::applyContainRule()
{
    QComboBox *address = box("edtAddress");
    const QString text = applyContainProvinceCity(
        address->currentText(), box("edtProvince")->currentText(), box("edtCity")->currentText(),
        box("edtTown")->currentText(), ckContainProviceCity->isChecked());
    if (text != address->currentText())
        address->setCurrentText(text);
}

QComboBox *TfrmMatchAddr::box(const char *objectName) const
{
    return findChild<QComboBox *>(QString::fromLatin1(objectName));
}

// ---- pasting -------------------------------------------------------------------------------

TPersonKDD TfrmMatchAddr::party() const
{
    TPersonKDD p;
    for (const ResultBox &b : kResultBoxes)
        p.*b.field = box(b.name)->currentText().trimmed();
    p.GoodsDesc = edtRemark->toPlainText().trimmed();
    p.DestSite = p.City;
    p.AcountType = TPerson::kCounterparty;
    return p;
}

bool TfrmMatchAddr::paste(PasteButton button)
{
    QComboBox *contact = box("edtName");
    if (contact->currentText().trimmed().isEmpty()) {
        m_services.ui().alert(
            QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！"), kPrompt);
        contact->setFocus();
        return false;
    }
    const TPersonKDD p = party();
    if (m_batch) {
        QString error;
        if (ReceiverList(m_services.database()).addReceiverAndGoods(p, &error) ==
            ReceiverList::Added::Failed) {
            // The window stays open with the party, so nothing typed is lost.
            m_services.ui().alert(QStringLiteral("添加失败！") + u'\n' + error, kPrompt);
            return false;
        }
        if (m_listChanged)
            m_listChanged();
        if (button != PasteButton::NoClose)
            accept();
        return true;
    }
    if (m_toSlip) {
        SlipPaste out;
        out.asSender = button == PasteButton::Sender;
        out.party = p;
        out.party.AcountType = out.asSender ? TPerson::kOwnUnit : TPerson::kCounterparty;
        out.remark = p.GoodsDesc;
        out.remarkToGoods = !out.asSender && ckWPNR->isChecked();
        out.remarkToRemark = !out.asSender && ckRemark->isChecked();
        m_toSlip(out);
    }
    accept();
    return true;
}

// ---- remarks -------------------------------------------------------------------------------

void TfrmMatchAddr::saveRemark()
{
    const QString remark = edtRemark->toPlainText().trimmed();
    if (remark.isEmpty()) {
        m_services.ui().alert(QStringLiteral("未输入附注内容~"), kPrompt);
        edtRemark->setFocus();
        return;
    }
    switch (m_lists.saveRemark(remark)) {
    case RecognitionLists::Saved::Exists:
        m_services.ui().alert(u'"' + remark + QStringLiteral("\" 已经存在！"), kPrompt);
        return;
    case RecognitionLists::Saved::Failed:
        m_services.ui().error(QStringLiteral("附注内容保存失败！"));
        return;
    case RecognitionLists::Saved::Added:
        break;
    }
    m_services.ui().alert(QStringLiteral("添加基础资料\"附注内容\"成功！"), kPrompt);
    m_listedRemarks.remove(0);
    if (TabControl1->currentIndex() == 0)
        listRemarks(0);
}

void TfrmMatchAddr::listRemarks(int tab)
{
    if (!m_listedRemarks.contains(tab)) {
        const RecognitionLists::Source sources[] = {RecognitionLists::Source::Dictionary,
                                                    RecognitionLists::Source::HistoryGoods,
                                                    RecognitionLists::Source::HistoryRemarks};
        m_listedRemarks.insert(tab, m_lists.remarkValues(sources[qBound(0, tab, 2)]));
    }
    lstWuPingOrRemark->clear();
    lstWuPingOrRemark->addItems(m_listedRemarks.value(tab));
}

// ---- the memo and the contact box -----------------------------------------------------------

bool TfrmMatchAddr::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memoFrom->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        memoFrom->selectAll();
        return true;
    }
    auto *contact = box("edtName")->lineEdit();
    if (watched == contact && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        // A name copied from a page often carries its line break: paste it clean.
        QClipboard *clipboard = QApplication::clipboard();
        QString text = clipboard->text();
        if (Gbk::gbkLength(text) <= 65) {
            text = text.remove(u'\r').remove(u'\n').trimmed();
            clipboard->setText(text);
            contact->setText(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
