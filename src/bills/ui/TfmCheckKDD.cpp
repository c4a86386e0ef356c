#include "bills/ui/TfmCheckKDD.h"

#include "base/Ui.h"
#include "bills/AmountText.h"
#include "bills/ExpressSlipBill.h"
#include "bills/ExpressSlipFields.h"
#include "bills/ExpressSlipRules.h"
#include "data/Parties.h"
#include "parties/Dictionaries.h"
#include "services/AppServices.h"
#include "services/BillHost.h"
#include "templates/Catalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kPlainAmount = QStringLiteral("打印小写金额");

// Typed per slip but not stored: a reopened slip shows them empty.
const QStringList kUnstoredSlipValues{"zdJFKHBM", "zdSFKHBM"};

QString textOf(const QWidget *w)
{
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *m = qobject_cast<const QPlainTextEdit *>(w))
        return m->toPlainText();
    return {};
}

} // namespace

TfmCheckKDD::TfmCheckKDD(BillHost &frame, QWidget *parent)
    : BillForm(frame, BillFormTexts::expressSlip(), BillKind::ExpressSlip, ExpressSlipFields::all(),
               QStringList{"btPosition", "btDesign", "btSaveSKRen", "btPaste", "btOpenCheck",
                           "btNewCheck", "btSaveAs", "btSaveCheck", "btPrint1", "btPrintAndSave",
                           "btMultiPrintS", "btMultiPrintF", "btClose", "btMoveXY"},
               {{"btSaveSKRen", "存收件人", "保存收件人到地址本（收发件人管理）",
                 QStyle::SP_DirHomeIcon},
                {"btPaste", "地址串识别(&W)", "粘贴识别外部收货地址",
                 QStyle::SP_FileDialogContentsView}},
               parent)
{
    hideButton("btMultiPrintS");
    hideButton("btMultiPrintF");
    connect(button(QStringLiteral("btPaste")), &QToolButton::clicked, this,
            [this] { m_frame.openAddressRecognition(); });
    cbFirstTypeName->installEventFilter(this);
    buildFieldBehaviour();
    buildFloatingLists();
    buildOptionsBar();
    start();
}

// ---- building ---------------------------------------------------------------------------

void TfmCheckKDD::buildFieldBehaviour()
{
    auto *receiverName = static_cast<QComboBox *>(field(QStringLiteral("zdSKR")));
    receiverName->lineEdit()->setPlaceholderText(ExpressSlipFields::kReceiverPrompt);

    for (const char *name : {"zdHKR", "zdSKR"}) {
        auto *box = static_cast<QComboBox *>(field(QString::fromLatin1(name)));
        const bool sender = name[2] == 'H';
        connect(box->lineEdit(), &QLineEdit::returnPressed, this,
                [this, sender] { lookUpParty(sender, false); });
    }
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
                setFieldText(target->objectName(), text);
        });
}

void TfmCheckKDD::buildOptionsBar()
{
    cfgWantPrintRQ = addOptionBox("cfgWantPrintRQ", "打印日期",
                                  "如果一直不打印日期，可到设计模式中隐藏日期项目");
    cfgWantPrintRQ->setChecked(true);
    addRememberButton(QStringLiteral("记住选项"));
    ckHandset2Phone = addOptionBox("ckHandset2Phone", "合并手机到电话", "当手机不可填写时才有效！");
    ckPrintFJROnly =
        addOptionBox("ckPrintFJROnly", "仅打印发件人",
                     "国家、省、市、地址、电话、联系人、签名、邮编、(始发站/目的站、快递帐号）");
    ckPrintSJROnly = addOptionBox("ckPrintSJROnly", "仅打印收件方", "隐藏发件人信息");
    cfgDestSiteIsCity = addOptionBox("cfgDestSiteIsCity", "目的站=城市", "");
    optionsRow()->addStretch();
    addOptionLabel("Label1", QStringLiteral("金额大写1格式:"));
    cfgJEDXFormat = new QComboBox(shortbar);
    cfgJEDXFormat->setObjectName(QStringLiteral("cfgJEDXFormat"));
    cfgJEDXFormat->addItems(amountFormatEntries());
    cfgJEDXFormat->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cfgJEDXFormat->setMinimumContentsLength(12);
    optionsRow()->addWidget(cfgJEDXFormat);

    connect(cfgWantPrintRQ, &QCheckBox::clicked, this, &TfmCheckKDD::applyPrintDate);
    connect(ckPrintFJROnly, &QCheckBox::clicked, this, &TfmCheckKDD::applyPrintSenderOnly);
    connect(ckPrintSJROnly, &QCheckBox::clicked, this, &TfmCheckKDD::applyPrintReceiverOnly);
    connect(ckHandset2Phone, &QCheckBox::clicked, this, &TfmCheckKDD::applyHandset2Phone);
    connect(cfgDestSiteIsCity, &QCheckBox::clicked, this, &TfmCheckKDD::zdSKRXSChange);
    connect(cfgJEDXFormat, &QComboBox::activated, this, [this] {
        // Convert the number the clerk typed, not the text the last format made of it.
        if (!m_amountTyped.isEmpty() && !m_amountShown.isEmpty() &&
            fieldText(QStringLiteral("zdJEDX1")) == m_amountShown)
            setFieldText(QStringLiteral("zdJEDX1"), m_amountTyped);
        m_amountShown.clear();
        zdJEDX1Exit();
    });
}

// ---- the form's own steps -----------------------------------------------------------------

void TfmCheckKDD::laidOut()
{
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

QList<const QCheckBox *> TfmCheckKDD::rememberedBoxes() const
{
    return {cfgDestSiteIsCity, cfgWantPrintRQ};
}

const QComboBox *TfmCheckKDD::rememberedChoice() const
{
    return cfgJEDXFormat;
}

ExpressSlipOptions TfmCheckKDD::options() const
{
    ExpressSlipOptions o;
    o.printDate = cfgWantPrintRQ->isChecked();
    o.senderOnly = ckPrintFJROnly->isChecked();
    o.receiverOnly = ckPrintSJROnly->isChecked();
    o.destinationIsCity = cfgDestSiteIsCity->isChecked();
    o.amountFormat = cfgJEDXFormat->currentText();
    return o;
}

void TfmCheckKDD::applyPrintDate()
{
    showFields(ExpressSlipBill::dateFields(), cfgWantPrintRQ->isChecked());
    if (cfgWantPrintRQ->isChecked())
        updateDateFields();
}

void TfmCheckKDD::applyPrintSenderOnly()
{
    showFields(ExpressSlipBill::receiverFields(), !ckPrintFJROnly->isChecked());
}

void TfmCheckKDD::applyPrintReceiverOnly()
{
    showFields(ExpressSlipBill::senderFields(), !ckPrintSJROnly->isChecked());
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

void TfmCheckKDD::pictureClicked()
{
    closeFloatingLists();
    button(QStringLiteral("btSaveCheck"))->setFocus();
}

void TfmCheckKDD::pickParty(bool sender)
{
    closeFloatingLists();
    BillForm::pickParty(sender);
}

// ---- amount -------------------------------------------------------------------------------

bool TfmCheckKDD::zdJEDX1Exit()
{
    auto *amount = static_cast<QLineEdit *>(field(QStringLiteral("zdJEDX1")));
    const QString typed = amount->text();
    // Leaving a field that still shows its converted text converts nothing again.
    if (!m_amountShown.isEmpty() && typed == m_amountShown)
        return true;
    m_amountTyped = typed;
    const ExpressSlipBill::AmountText amountText =
        ExpressSlipBill::formatAmount(typed, cfgJEDXFormat->currentText());
    // A bad amount keeps what was typed: a blank or a limit note must never print as the amount.
    if (!amountText.error.isEmpty()) {
        m_amountShown.clear();
        m_services.ui().alert(amountText.error, kPrompt);
        return false;
    }
    if (amountText.text == typed)
        return true;
    m_amountShown = amountText.text;
    amount->setText(amountText.text);
    return true;
}

bool TfmCheckKDD::commitTyping()
{
    // A save or print straight from the amount field converts it first, and an amount the
    // format refuses is neither stored nor printed.
    return zdJEDX1Exit();
}

// ---- floating lists -----------------------------------------------------------------------

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

// ---- save, new, reopen --------------------------------------------------------------------

QHash<QString, QString> TfmCheckKDD::rowValues() const
{
    QHash<QString, QString> row;
    for (const BillField &f : ExpressSlipFields::all())
        if (!f.column.isEmpty())
            row.insert(f.column, fieldText(f.control));
    QString receiver = fieldText(QStringLiteral("zdSKR"));
    if (receiver == ExpressSlipFields::kReceiverPrompt)
        receiver.clear();
    row.insert(QStringLiteral("收件单位"), receiver);
    row.insert(QStringLiteral("寄件日期"), SelDate->date().toString(Qt::ISODate));
    return row;
}

void TfmCheckKDD::loadRow(const QHash<QString, QString> &row)
{
    // Every stored field comes from the row, so nothing of the slip shown before survives
    // into a reprint or a copy.
    for (const BillField &f : ExpressSlipFields::all()) {
        if (f.column.isEmpty() || f.kind == BillField::Kind::Date)
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

// ---- window -------------------------------------------------------------------------------

void TfmCheckKDD::focusEntered(QWidget *watched)
{
    auto is = [&](const char *name) { return watched == field(QString::fromLatin1(name)); };
    if (is("zdHKRS") || is("zdSKRS")) {
        if (Cb_S->count() == 0) {
            const QSignalBlocker block(Cb_S);
            Cb_S->addItems(m_services.dictionaries().loadProvinces());
        }
        openFloatingList(Cb_S, watched);
    } else if (is("zdHKRXS") || is("zdSKRXS")) {
        const QString province =
            fieldText(is("zdHKRXS") ? QStringLiteral("zdHKRS") : QStringLiteral("zdSKRS"));
        {
            const QSignalBlocker block(Cb_XS);
            Cb_XS->clear();
            if (!province.isEmpty())
                Cb_XS->addItems(m_services.dictionaries().loadCitysByProvince(province));
        }
        openFloatingList(Cb_XS, watched);
    } else if (is("edtCountryFrom") || is("edtCountryDest")) {
        openFloatingList(cbCountry, watched);
    } else if (is("zdSign") || is("cbFromSite")) {
        auto *box = static_cast<QComboBox *>(watched);
        if (box->count() == 0)
            fillDictionary(box,
                           is("zdSign") ? QStringLiteral("发件人签名") : QStringLiteral("始发站"),
                           identifierList(false));
        if (box->currentText().isEmpty() && box->count() > 0)
            box->setCurrentIndex(0);
    } else if (is("zdDef1") || is("zdDef2")) {
        auto *box = static_cast<QComboBox *>(watched);
        const QString name = is("zdDef1") ? QStringLiteral("自定义1") : QStringLiteral("自定义2");
        if (box->count() == 0)
            fillDictionary(box, name, QString::number(currentTemplate()));
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
        if (field(handset)->isHidden() && textOf(watched).trimmed().isEmpty())
            setFieldText(watched->objectName(), fieldText(handset));
    }
}

bool TfmCheckKDD::doubleClicked(QObject *watched)
{
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
    for (const char *name : {"zdHkrDZ", "zdSkrDZ"}) {
        auto *memo = static_cast<QPlainTextEdit *>(field(QString::fromLatin1(name)));
        if (watched == memo->viewport()) {
            memo->selectAll();
            return true;
        }
    }
    return false;
}

bool TfmCheckKDD::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched->isWidgetType())
            focusEntered(static_cast<QWidget *>(watched));
        break;
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
            break;
        if (watched == field(QStringLiteral("zdJEDX1")))
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
    case QEvent::MouseButtonDblClick:
        if (doubleClicked(watched))
            return true;
        break;
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((watched == field(QStringLiteral("zdHkrDZ")) ||
             watched == field(QStringLiteral("zdSkrDZ"))) &&
            (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace ||
             key == Qt::Key_Delete))
            updateMemoFonts();
        break;
    }
    default:
        break;
    }
    return BillForm::eventFilter(watched, event);
}
