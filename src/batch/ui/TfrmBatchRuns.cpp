#include "batch/ui/TfrmBatchRuns.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "services/AppServices.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QStringList kColumns{"批次", "打印时间", "操作员", "打印机", "张数", "状态"};

} // namespace

TfrmBatchRuns::TfrmBatchRuns(AppServices &services, const QString &listTable, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBatchRuns"));
    setWindowTitle(QStringLiteral("打印记录"));
    QString error;
    m_runs = BatchRunLog(services.database(), listTable).runs(&error);
    if (!error.isEmpty())
        services.ui().error(u"读取打印记录失败：" + error);

    gridRuns = new QTableWidget(int(m_runs.size()), int(kColumns.size()), this);
    gridRuns->setObjectName(QStringLiteral("gridRuns"));
    gridRuns->setHorizontalHeaderLabels(kColumns);
    gridRuns->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridRuns->setSelectionMode(QAbstractItemView::SingleSelection);
    gridRuns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridRuns->verticalHeader()->hide();
    for (int r = 0; r < m_runs.size(); ++r) {
        const BatchRun &run = m_runs[r];
        const QStringList cells{
            QString::number(run.number), run.time, run.operatorName, run.printer,
            QString::number(run.pages),  run.state};
        for (int c = 0; c < cells.size(); ++c)
            gridRuns->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    gridRuns->resizeColumnsToContents();
    gridRuns->horizontalHeader()->setStretchLastSection(true);
    connect(gridRuns, &QTableWidget::itemSelectionChanged, this, &TfrmBatchRuns::runChosen);

    spFromRow = new QSpinBox(this);
    spFromRow->setObjectName(QStringLiteral("spFromRow"));
    btReprintFrom = namedButton(this, "btReprintFrom", QStringLiteral("从第 N 条开始重打"),
                                QStringLiteral("卡纸后，从卡住的那一张起把这一批再打一遍"));
    connect(btReprintFrom, &QPushButton::clicked, this, &TfrmBatchRuns::reprintFrom);
    QPushButton *close = namedButton(this, "btClose", QStringLiteral("关闭"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("从第"), this));
    row->addWidget(spFromRow);
    row->addWidget(new QLabel(QStringLiteral("条开始"), this));
    row->addWidget(btReprintFrom);
    row->addStretch();
    row->addWidget(close);
    auto *l = new QVBoxLayout(this);
    l->addWidget(gridRuns, 1);
    l->addLayout(row);
    resize(760, 420);
    if (!m_runs.isEmpty())
        gridRuns->selectRow(0);
    runChosen();
}

void TfrmBatchRuns::runChosen()
{
    const int r = gridRuns->currentRow();
    const bool chosen = r >= 0 && r < m_runs.size() && !m_runs[r].rows.isEmpty();
    spFromRow->setRange(1, chosen ? int(m_runs[r].rows.size()) : 1);
    spFromRow->setValue(1);
    spFromRow->setEnabled(chosen);
    btReprintFrom->setEnabled(chosen);
}

void TfrmBatchRuns::reprintFrom()
{
    const int r = gridRuns->currentRow();
    if (r < 0 || r >= m_runs.size())
        return;
    m_chosen = m_runs[r].rows.mid(spFromRow->value() - 1);
    accept();
}

void TfrmBatchRuns::reportInterrupted(AppServices &services, const QString &listTable,
                                      const QString &bills)
{
    QString error;
    const QList<BatchRun> cut =
        BatchRunLog(services.database(), listTable).recoverInterrupted(&error);
    if (!error.isEmpty()) {
        services.ui().error(u"读取打印记录失败：" + error);
        return;
    }
    for (const BatchRun &run : cut)
        services.ui().warn(
            QStringLiteral("第 %1 批（%2，%3 张%4，打印机：%5）送往打印机时程序中断，不能确定打印"
                           "了多少。\n这些条目已记为已打印：请核对打印机上的%4，需要时在【打印记"
                           "录】中选第 %1 批，“从第 N 条开始”重打。")
                .arg(run.number)
                .arg(run.time)
                .arg(run.pages)
                .arg(bills, run.printer),
            QStringLiteral("提示"));
}
