#include "history/ui/TfmSearch_KDD.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "history/HistoryModel.h"
#include "services/AppServices.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

HistoryWindowTexts slipTexts()
{
    return {
        QStringLiteral("TfmSearch_KDD"),
        QStringLiteral("快递单查询"),
        QStringLiteral("收件人或单位："),
        QStringLiteral("寄件人或单位："),
        QStringLiteral("寄件日期："),
        QStringLiteral("快递单号："),
        QStringLiteral("cb_PJBH"),
        QStringLiteral("Button2"),
        QStringLiteral("Button3"),
        // The address book opens on the list the box's party usually comes from.
        TPerson::kCounterparty,
        QStringLiteral("选择收件单位"),
        TPerson::kOwnUnit,
        QStringLiteral("选择寄件单位"),
        QStringLiteral("KDDView_DBLOPEN"),
        QStringLiteral("开启/关闭鼠标双击列表打开快递单"),
        QStringLiteral("总费用汇总:￥"),
        QStringLiteral("快递单"),
        QStringLiteral("快递单历史开票"),
    };
}

} // namespace

TfmSearch_KDD::TfmSearch_KDD(AppServices &services, QWidget *parent)
    : HistoryWindow(services, HistoryKind::expressSlips(), slipTexts(), parent)
{
    filterTemplate = new QComboBox(m_conditions);
    filterTemplate->setObjectName(QStringLiteral("filterTemplate"));
    filterTemplate->setEditable(true);
    filterTemplate->setMinimumWidth(200);
    filterTemplate->addItems(m_history.templateNames());
    filterTemplate->addItem(QString());
    filterTemplate->setCurrentIndex(filterTemplate->count() - 1);
    QPushButton *clear = namedButton(m_conditions, "btClearTemplate", QStringLiteral("清空"));
    connect(clear, &QPushButton::clicked, this, [this] {
        filterTemplate->setEditText({});
        mark(filterTemplate, Mark::Unused);
    });
    connect(filterTemplate, &QComboBox::textActivated, this, &HistoryWindow::query);
    connect(filterTemplate->lineEdit(), &QLineEdit::returnPressed, this, &HistoryWindow::query);
    addConditionRow(QStringLiteral("模板种类："), {filterTemplate, clear});

    QAction *refresh = findChild<QAction *>(QStringLiteral("nRefresh"));
    auto add = [this, refresh](const char *name, const QString &caption, const QKeySequence &key,
                               auto slot) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        m_popup->insertAction(refresh, a);
        addAction(a);
        return a;
    };
    m_inputNumber = add("nInputDH", QStringLiteral("补录入单号"), QKeySequence(Qt::ALT | Qt::Key_Z),
                        [this] { completeTrackingNumber(); });
    m_inputRemark = add("nInputRemark", QStringLiteral("补录备注"),
                        QKeySequence(Qt::ALT | Qt::Key_S), [this] { completeRemark(); });
    add("N1", QStringLiteral("网上查单"), QKeySequence(Qt::CTRL | Qt::Key_F),
        [this] { trackOnline(); });
    connect(model(), &QAbstractItemModel::modelReset, this, &TfmSearch_KDD::updateCompletionItems);

    query();
}

void TfmSearch_KDD::addKindConditions(HistoryFilter &filter)
{
    filterTemplate->setEditText(filterTemplate->currentText().trimmed());
    filter.templateName = filterTemplate->currentText();
    mark(filterTemplate, filter.templateName.isEmpty() ? Mark::Unused : Mark::Used);
}

void TfmSearch_KDD::clearKindConditions()
{
    filterTemplate->setEditText({});
    mark(filterTemplate, Mark::Unused);
}

void TfmSearch_KDD::updateCompletionItems()
{
    const bool rows = model()->rowCount() > 0;
    m_inputNumber->setEnabled(rows);
    m_inputRemark->setEnabled(rows);
}

void TfmSearch_KDD::complete(const QString &column, const QString &prompt)
{
    const int id = currentBillId();
    if (id <= 0)
        return;
    const QString value =
        m_services.ui().giveMeAnValue(prompt, currentValue(column), QStringLiteral("string"));
    if (value.isEmpty())
        return;
    QString error;
    if (!m_history.setColumn(id, column, value, error)) {
        m_services.ui().error(u"补录失败：" + error);
        return;
    }
    refresh();
}

void TfmSearch_KDD::completeTrackingNumber()
{
    complete(QStringLiteral("快递单号"), QStringLiteral("补录,输入已发出的快递单号"));
}

void TfmSearch_KDD::completeRemark()
{
    complete(QStringLiteral("备注"), QStringLiteral("补录,输入备注内容:"));
}

void TfmSearch_KDD::trackOnline()
{
    if (currentBillId() <= 0)
        return;
    VendorWeb &web = m_services.web();
    web.BrowseURL(web.trackingPage(currentValue(QStringLiteral("模板种类")),
                                   currentValue(QStringLiteral("快递单号"))));
}
