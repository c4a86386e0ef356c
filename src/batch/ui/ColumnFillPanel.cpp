#include "batch/ui/ColumnFillPanel.h"

#include "base/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {

QComboBox *box(QWidget *parent, const char *name, bool editable)
{
    auto *b = new QComboBox(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setEditable(editable);
    b->setMinimumWidth(120);
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

ColumnFillPanel::ColumnFillPanel(const Face &face, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(face.panelName));
    m_target = box(this, "cbField", face.editableTarget);
    m_parts[0] = box(this, "cbField1", true);
    m_parts[1] = box(this, "cbField2", true);
    m_parts[2] = box(this, "cbField3", true);
    m_clear = new QCheckBox(face.clearCaption, this);
    m_clear->setObjectName(QString::fromLatin1(face.clearName));
    QPushButton *apply = button(this, face.applyName, face.applyCaption);
    QPushButton *close = button(this, face.closeName, face.closeCaption);

    // Ticking "empty" clears the parts; choosing a part again unticks it.
    connect(m_clear, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            for (QComboBox *b : m_parts)
                b->setEditText({});
    });
    for (QComboBox *b : m_parts)
        connect(b, &QComboBox::activated, this, [this] { m_clear->setChecked(false); });
    connect(apply, &QPushButton::clicked, this, &ColumnFillPanel::applyClicked);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto *row = new QHBoxLayout;
    row->addWidget(m_target);
    row->addWidget(new QLabel(QStringLiteral("="), this));
    row->addWidget(m_parts[0]);
    row->addWidget(new QLabel(QStringLiteral("+"), this));
    row->addWidget(m_parts[1]);
    row->addWidget(new QLabel(QStringLiteral("+"), this));
    row->addWidget(m_parts[2]);
    row->addWidget(m_clear);
    row->addWidget(apply);
    row->addWidget(close);
    row->addStretch();
    auto *rows = new QVBoxLayout(this);
    rows->addLayout(row);
    if (face.resultLine) {
        m_result = new QLabel(this);
        m_result->setObjectName(QStringLiteral("lbResult"));
        rows->addWidget(m_result);
    }
    for (const QString &tip : face.tips)
        rows->addWidget(new QLabel(tip, this));
    hide();
}

void ColumnFillPanel::offerColumns(const QStringList &columns)
{
    for (QComboBox *b : {m_target, m_parts[0], m_parts[1], m_parts[2]}) {
        const QSignalBlocker quiet(b);
        b->clear();
    }
    m_parts[0]->addItems({QStringLiteral("光盘数:"), QStringLiteral("书刊数:")});
    m_parts[2]->addItems({QStringLiteral("个"), QStringLiteral("本")});
    for (QComboBox *b : {m_target, m_parts[0], m_parts[1], m_parts[2]}) {
        b->addItems(columns);
        if (b->isEditable())
            b->setEditText({});
    }
    if (m_result)
        m_result->clear();
}

QStringList ColumnFillPanel::columnChoices(const QSqlRecord &record)
{
    QStringList columns;
    for (int c = 0; c < record.count(); ++c)
        if (record.fieldName(c) != u"ID")
            columns << u'@' + record.fieldName(c);
    return columns;
}

QString ColumnFillPanel::confirmedTarget(Ui &ui)
{
    const QString target = m_target->currentText().trimmed().remove(u'@');
    if (target.isEmpty()) {
        ui.alert(QStringLiteral("请选择要批量改写列~"), QStringLiteral("提示"));
        m_target->setFocus();
        return {};
    }
    if (parts().join(QString()).trimmed().isEmpty() &&
        !ui.ask(u"你确信要置空所有的[" + target + u"]列吗？", QStringLiteral("确认")))
        return {};
    return target;
}

QStringList ColumnFillPanel::parts() const
{
    return {m_parts[0]->currentText(), m_parts[1]->currentText(), m_parts[2]->currentText()};
}

void ColumnFillPanel::showResult(const QString &text)
{
    if (m_result)
        m_result->setText(text);
}
