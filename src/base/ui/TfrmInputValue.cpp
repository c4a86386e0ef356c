#include "base/ui/TfrmInputValue.h"

#include "base/Ui.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kIntegerMaxLength = 7;

const QStringList &integerPresets()
{
    static const QStringList presets{"2",  "5",   "10",  "20",  "25",  "30",
                                     "50", "100", "200", "500", "1000"};
    return presets;
}

} // namespace

TfrmInputValue::ValueType TfrmInputValue::valueTypeOf(const QString &type)
{
    const QString t = type.trimmed().toUpper();
    if (t == u"INT" || t == u"INTEGER")
        return ValueType::Integer;
    if (t == u"FLOAT" || t == u"REAL" || t == u"DOUBLE")
        return ValueType::Decimal;
    return ValueType::Text;
}

TfrmInputValue::TfrmInputValue(Ui &ui, QWidget *parent)
    : QDialog(parent)
    , m_ui(ui)
    , Label1(new QLabel(QStringLiteral("请输入:"), this))
    , edtValue(new QComboBox(this))
    , lbMessage(new QLabel(this))
    , btOK(new QPushButton(QStringLiteral("确 定(&Y)"), this))
    , btCancel(new QPushButton(QStringLiteral("取 消(&C)"), this))
    , m_validator(new QRegularExpressionValidator(this))
{
    setObjectName(QStringLiteral("frmInputValue"));
    setWindowTitle(QStringLiteral("用户输入"));
    QPalette face = palette();
    face.setColor(QPalette::Window, QColor(205, 217, 245));
    setPalette(face);
    setAutoFillBackground(true);
    setMinimumWidth(340);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    lbMessage->setObjectName(QStringLiteral("lbMessage"));
    lbMessage->setStyleSheet(QStringLiteral("color: #c00000;"));

    edtValue->setObjectName(QStringLiteral("edtValue"));
    edtValue->setEditable(true);
    edtValue->setInsertPolicy(QComboBox::NoInsert);
    edtValue->setMaxVisibleItems(20);
    // The list drops down while the user types; the keys keep going to the field.
    edtValue->completer()->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    edtValue->completer()->setMaxVisibleItems(20);
    const QList<QObject *> filtered{edtValue, edtValue->lineEdit(), edtValue->completer()->popup()};
    for (QObject *watched : filtered)
        watched->installEventFilter(this);

    btOK->setObjectName(QStringLiteral("btOK"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    // Enter is taken by the value field; no default button may fire a second time.
    btOK->setAutoDefault(false);
    btCancel->setAutoDefault(false);
    connect(btOK, &QPushButton::clicked, this, &TfrmInputValue::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmInputValue::btCancelClick);
    connect(edtValue->lineEdit(), &QLineEdit::returnPressed, this, &TfrmInputValue::btOKClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(edtValue);
    layout->addWidget(lbMessage);
    layout->addLayout(buttons);
}

void TfrmInputValue::setPrompt(const QString &prompt)
{
    Label1->setText(prompt);
}

void TfrmInputValue::setDefaultValue(const QString &value)
{
    edtValue->setEditText(value);
}

void TfrmInputValue::setValueType(const QString &type)
{
    m_valueType = valueTypeOf(type);
}

QString TfrmInputValue::value() const
{
    return m_confirmed ? edtValue->currentText() : QString();
}

void TfrmInputValue::btOKClick()
{
    const QString value = edtValue->currentText().trimmed();
    edtValue->setEditText(value);
    if (value.isEmpty()) {
        m_ui.alert(QStringLiteral("请输入正确的值，不能为空"), QStringLiteral("提示"));
        return;
    }
    m_confirmed = true;
    accept();
}

void TfrmInputValue::btCancelClick()
{
    edtValue->setEditText({});
    reject();
}

void TfrmInputValue::showEvent(QShowEvent *event)
{
    m_confirmed = false;
    QLineEdit *edit = edtValue->lineEdit();
    const QString value = edit->text();
    // Keys are filtered as they are typed; the validator also stops pasted or composed text.
    switch (m_valueType) {
    case ValueType::Integer:
        edtValue->clear();
        edtValue->addItems(integerPresets());
        edit->setMaxLength(kIntegerMaxLength);
        m_validator->setRegularExpression(QRegularExpression(QStringLiteral("[0-9]*")));
        edtValue->setValidator(m_validator);
        break;
    case ValueType::Decimal:
        m_validator->setRegularExpression(QRegularExpression(QStringLiteral("[0-9.]*")));
        edtValue->setValidator(m_validator);
        break;
    case ValueType::Text:
        edtValue->setValidator(nullptr);
        break;
    }
    edtValue->setEditText(value);
    edit->selectAll();
    lbMessage->clear();

    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmInputValue::done(int result)
{
    // Closed in any way but a confirmed OK: the answer is empty.
    if (!m_confirmed)
        edtValue->setEditText({});
    QDialog::done(result);
}

bool TfrmInputValue::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !filterKey(static_cast<const QKeyEvent &>(*event)))
        return true;
    if (event->type() == QEvent::MouseButtonDblClick && watched == edtValue->lineEdit()) {
        edtValue->lineEdit()->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmInputValue::filterKey(const QKeyEvent &key)
{
    // Only typed characters are filtered: moving keys and editing shortcuts (copy, paste) pass.
    if (m_valueType == ValueType::Text || key.text().isEmpty() ||
        key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
        key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        return true;
    const QChar c = key.text().front();
    const bool accepted = (c >= u'0' && c <= u'9') ||
                          (m_valueType == ValueType::Decimal && c == u'.') ||
                          key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Escape ||
                          key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!accepted)
        lbMessage->setText(m_valueType == ValueType::Integer
                               ? QStringLiteral("岚砚提示：只能输入数字,谢谢！")
                               : QStringLiteral("岚砚提示:只能输入数字及点(如: 12.5 )！"));
    else
        lbMessage->clear();
    return accepted;
}
