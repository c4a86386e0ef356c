#include "history/ui/TfmSearch_CDHP.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kTip = QStringLiteral("提示");
const QString kBadNumber = QStringLiteral("非法数字");

HistoryWindowTexts draftTexts()
{
    return {
        QStringLiteral("TfmSearch_CDHP"),
        QStringLiteral("承兑汇票查询"),
        QStringLiteral("收款单位："),
        QStringLiteral("出票单位："),
        QStringLiteral("开票日期："),
        QStringLiteral("票据编号："),
        QStringLiteral("cb_CDXYBH"),
        QStringLiteral("btChoose1"),
        QStringLiteral("btChoose2"),
        TPerson::kCounterparty,
        QStringLiteral("选择收款单位"),
        TPerson::kOwnUnit,
        QStringLiteral("选择付款单位"),
        QStringLiteral("CDHPView_DBLOPEN"),
        QStringLiteral("开启/关闭鼠标双击列表打开承兑汇票"),
        QStringLiteral("金额汇总:￥"),
        QStringLiteral("承兑汇票"),
        QStringLiteral("承兑汇票历史开票"),
    };
}

} // namespace

TfmSearch_CDHP::TfmSearch_CDHP(AppServices &services, QWidget *parent)
    : HistoryWindow(services, HistoryKind::acceptanceDrafts(), draftTexts(), parent)
{
    auto amountBox = [this](const char *name) {
        auto *box = new QLineEdit(m_conditions);
        box->setObjectName(QString::fromLatin1(name));
        box->setFixedWidth(90);
        return box;
    };
    edtJEFrom = amountBox("edtJEFrom");
    edtJETo = amountBox("edtJETo");
    QPushButton *clear = namedButton(m_conditions, "btClearJe", QStringLiteral("清空"));
    connect(clear, &QPushButton::clicked, this, &TfmSearch_CDHP::clearKindConditions);
    addConditionRow(QStringLiteral("金额："),
                    {edtJEFrom, new QLabel(QStringLiteral("到"), m_conditions), edtJETo, clear});

    btFailedSelects = namedButton(this, "btFailedSelects", QStringLiteral("作废选中(&F)"));
    m_leftButtons->insertWidget(m_leftButtons->count() - 2, btFailedSelects);
    connect(btFailedSelects, &QPushButton::clicked, this, &TfmSearch_CDHP::voidSelected);

    btAddSel2MultiPrint =
        namedButton(this, "btAddSel2MultiPrint", QStringLiteral("添加选中到批打"));
    btAddALL2MultiPrint =
        namedButton(this, "btAddALL2MultiPrint", QStringLiteral("添加所有到批打"));
    m_buttonRow->insertWidget(m_buttonRow->indexOf(btExit), btAddSel2MultiPrint);
    m_buttonRow->insertWidget(m_buttonRow->indexOf(btExit), btAddALL2MultiPrint);
    btAddSel2MultiPrint->hide();
    btAddALL2MultiPrint->hide();
    connect(btAddSel2MultiPrint, &QPushButton::clicked, this, &TfmSearch_CDHP::addSelectedToBatch);
    connect(btAddALL2MultiPrint, &QPushButton::clicked, this, &TfmSearch_CDHP::addAllToBatch);

    query();
}

void TfmSearch_CDHP::setPickMode(const QString &batchGroup)
{
    m_pickMode = true;
    m_batchGroup = batchGroup;
    ckDBLClick->hide();
    btOpenView->hide();
    btReprint->hide();
    btAddSel2MultiPrint->show();
    btAddALL2MultiPrint->show();
}

std::optional<double> TfmSearch_CDHP::amountBound(QLineEdit *box)
{
    box->setText(box->text().trimmed());
    if (box->text().isEmpty()) {
        mark(box, Mark::Unused);
        return std::nullopt;
    }
    const std::optional<double> bound = HistoryText::amountBound(box->text());
    if (!bound)
        box->setText(kBadNumber);
    mark(box, bound ? Mark::Used : Mark::Bad);
    return bound;
}

void TfmSearch_CDHP::addKindConditions(HistoryFilter &filter)
{
    filter.amountFrom = amountBound(edtJEFrom);
    filter.amountTo = amountBound(edtJETo);
}

void TfmSearch_CDHP::clearKindConditions()
{
    for (QLineEdit *box : {edtJEFrom, edtJETo}) {
        box->clear();
        mark(box, Mark::Unused);
    }
}

std::optional<QVariantList> TfmSearch_CDHP::selectedIds(const QString &noneMessage)
{
    std::optional<QVariantList> ids =
        m_services.grids().selectedValues(*grid()->selectionModel(), m_history.kind().key);
    if (ids && ids->isEmpty()) {
        m_services.ui().alert(noneMessage, kTip);
        return std::nullopt;
    }
    return ids;
}

void TfmSearch_CDHP::voidSelected()
{
    const std::optional<QVariantList> ids =
        selectedIds(QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
    if (!ids)
        return;
    QString error;
    const std::optional<int> voided = m_history.voidBills(*ids, error);
    if (!voided) {
        m_services.ui().alert(u"错误,Error=" + error, QStringLiteral("失败"));
        return;
    }
    refresh();
    m_services.ui().alert(u"成功作废" + QString::number(*voided) + u"条记录！", kTip);
}

bool TfmSearch_CDHP::toldCopied(const std::optional<int> &copied, const QString &error,
                                const QString &before, const QString &after)
{
    if (!copied) {
        m_services.ui().error(u"添加出现异常中断,已经成功添加0个批打记录！\n" + error);
        return false;
    }
    m_services.ui().alert(before + QString::number(*copied) + after, kTip);
    return true;
}

void TfmSearch_CDHP::addSelectedToBatch()
{
    const std::optional<QVariantList> ids =
        selectedIds(QStringLiteral("未选中任何有效的列表记录！"));
    if (!ids)
        return;
    QString error;
    if (toldCopied(m_history.copyToBatch(*ids, m_batchGroup, error), error,
                   QStringLiteral("本次共成功添加 "), QStringLiteral(" 个批打记录!")))
        close();
}

void TfmSearch_CDHP::addAllToBatch()
{
    if (lastStatement().table.isEmpty())
        return; // nothing listed yet
    grid()->selectAll();
    QString error;
    toldCopied(m_history.copyToBatch(lastStatement(), m_batchGroup, error), error,
               QStringLiteral("本次共添加"), QStringLiteral("个批打记录！"));
}
