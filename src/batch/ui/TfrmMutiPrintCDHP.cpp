#include "batch/ui/TfrmMutiPrintCDHP.h"

#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "batch/BatchTable.h"
#include "batch/DraftBatchList.h"
#include "batch/DraftRowBill.h"
#include "batch/ReceiverListModel.h"
#include "batch/ui/BatchGrid.h"
#include "batch/ui/ColumnFillPanel.h"
#include "batch/ui/TfrmBatchRuns.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/ui/GridView.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kAll = QString::fromUtf8(DraftBatchList::kAllGroups);

} // namespace

TfrmMutiPrintCDHP::TfrmMutiPrintCDHP(AppServices &services, Sources sources, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_sources(std::move(sources))
{
    setObjectName(QStringLiteral("TfrmMutiPrintCDHP"));
    setWindowTitle(QStringLiteral("岚砚软件-批量打印承兑汇票"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    m_model =
        new ReceiverListModel(services.database(), this, QString::fromUtf8(DraftBatchList::kTable));
    connect(m_model, &ReceiverListModel::editFailed, this,
            [this](const QString &error) { m_services.ui().alert(u"错误，" + error, kPrompt); });
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(buildTopBar());
    outer->addWidget(buildSecondBar());
    outer->addWidget(buildFillPanel());
    buildGrid();
    outer->addWidget(DBGrid1, 1);
    resize(1100, 640);
    FormFaceLoad(*this, m_services.settings().userIni());
}

TfrmMutiPrintCDHP::~TfrmMutiPrintCDHP() = default;

// ---- building ---------------------------------------------------------------------------

QPushButton *TfrmMutiPrintCDHP::addButton(const char *name, const QString &caption,
                                          const QString &hint)
{
    return namedButton(this, name, caption, hint);
}

QWidget *TfrmMutiPrintCDHP::buildTopBar()
{
    auto *bar = new QWidget(this);
    auto *l = new QHBoxLayout(bar);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(new QLabel(QStringLiteral("批打分组:"), bar));
    cb_ListName = new QComboBox(bar);
    cb_ListName->setObjectName(QStringLiteral("cb_ListName"));
    cb_ListName->setEditable(true);
    cb_ListName->setInsertPolicy(QComboBox::NoInsert);
    cb_ListName->setMinimumWidth(180);
    cb_ListName->setEditText(kAll);
    connect(cb_ListName->lineEdit(), &QLineEdit::returnPressed, this, &TfrmMutiPrintCDHP::refresh);
    connect(cb_ListName, &QComboBox::activated, this, &TfrmMutiPrintCDHP::refresh);
    l->addWidget(cb_ListName);
    QPushButton *refreshButton = addButton("_btRefreash", QStringLiteral("过滤刷新"));
    connect(refreshButton, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::refresh);
    l->addWidget(refreshButton);
    btStartPrint = addButton("btStartPrint", QStringLiteral("批量打印所有记录"),
                             QStringLiteral("通常是从打印机后面放入"));
    connect(btStartPrint, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::btStartPrintClick);
    l->addWidget(btStartPrint);
    QPushButton *sel = addButton("btSelPrint", QStringLiteral("打印打选中记录"),
                                 QStringLiteral("仅打印选中的记录"));
    connect(sel, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::nPrintSelClick);
    l->addWidget(sel);
    QPushButton *runs =
        addButton("btRuns", QStringLiteral("打印记录"),
                  QStringLiteral("每一批打印的时间、打印机和张数；卡纸后从第 N 条重打"));
    connect(runs, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::btRunsClick);
    l->addWidget(runs);
    l->addStretch();
    return bar;
}

QWidget *TfrmMutiPrintCDHP::buildSecondBar()
{
    auto *bar = new QWidget(this);
    auto *outer = new QVBoxLayout(bar);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *l = new QHBoxLayout;
    outer->addLayout(l);
    l->addWidget(new QLabel(QStringLiteral("列总表记录数:"), bar));
    edtSelectCount = new QLineEdit(QStringLiteral("0"), bar);
    edtSelectCount->setObjectName(QStringLiteral("edtSelectCount"));
    edtSelectCount->setReadOnly(true);
    edtSelectCount->setFixedWidth(60);
    l->addWidget(edtSelectCount);
    l->addWidget(new QLabel(QStringLiteral("个!"), bar));
    l->addWidget(new QLabel(QStringLiteral("排序列:"), bar));
    edtOrder = new QComboBox(bar);
    edtOrder->setObjectName(QStringLiteral("edtOrder"));
    edtOrder->addItem(QStringLiteral("ID"));
    for (const char *c : {"票据编号", "出票日期", "金额", "汇票到期日", "收款人全称", "出票人全称"})
        edtOrder->addItem(QString::fromUtf8(c));
    connect(edtOrder, &QComboBox::currentIndexChanged, this, &TfrmMutiPrintCDHP::refresh);
    l->addWidget(edtOrder);
    ckDESC = new QCheckBox(QStringLiteral("倒序"), bar);
    ckDESC->setObjectName(QStringLiteral("ckDESC"));
    connect(ckDESC, &QCheckBox::clicked, this, &TfrmMutiPrintCDHP::refresh);
    l->addWidget(ckDESC);

    const std::vector<
        std::tuple<const char *, const char *, const char *, void (TfrmMutiPrintCDHP::*)()>>
        buttons{
            {"btClear", "清空组内列表", "", &TfrmMutiPrintCDHP::btClearClick},
            {"btDelSelect", "删除选中", "", &TfrmMutiPrintCDHP::btDelSelectClick},
            {"btFromExcel", "来自Excel..", "从Excel批量导入收件人信息", nullptr},
            {"btToExcel", "导出到Excel..", "导出为Excel备份", &TfrmMutiPrintCDHP::btToExcelClick},
            {"btFromWrite", "输入一条..", "手工输入添加一条", &TfrmMutiPrintCDHP::btFromWriteClick},
            {"btFromHistory", "来自历史票据..", "从历史票据中选择要打印的票据",
             &TfrmMutiPrintCDHP::btFromHistoryClick},
            {"btFillColumn", "批填列", "将一下列表收件人的某项填入同一值",
             &TfrmMutiPrintCDHP::btFillColumnClick},
        };
    for (const auto &[name, caption, hint, slot] : buttons) {
        QPushButton *b = addButton(name, QString::fromUtf8(caption), QString::fromUtf8(hint));
        if (slot)
            connect(b, &QPushButton::clicked, this, slot);
        l->addWidget(b);
    }
    // The list is not read again after an import: "过滤刷新" shows the new rows.
    connect(findChild<QPushButton *>(QStringLiteral("btFromExcel")), &QPushButton::clicked, this,
            [this] {
                if (m_sources.importSpreadsheet)
                    m_sources.importSpreadsheet();
            });
    QPushButton *first = addButton("btFirst", QStringLiteral("|<"), QStringLiteral("第一条"));
    QPushButton *last = addButton("btLast", QStringLiteral(">|"), QStringLiteral("最后一条"));
    connect(first, &QPushButton::clicked, this, [this] { DBGrid1->selectRow(0); });
    connect(last, &QPushButton::clicked, this,
            [this] { DBGrid1->selectRow(m_model->rowCount() - 1); });
    l->addWidget(first);
    l->addWidget(last);
    l->addStretch();

    auto *tips = new QHBoxLayout;
    outer->addLayout(tips);
    tips->addWidget(
        new QLabel(QStringLiteral("【技巧】：1、按住Ctrl+鼠标左击同时选中多条记录;"), bar));
    auto *link = new ClickableLabel(
        QStringLiteral("2、若打印机为链条连续进纸,必须选用匹配的纸型.怎样设置批打纸张[有图]?"),
        bar);
    link->setToolTip(QStringLiteral("点击查看说明-有截图"));
    link->setStyleSheet(QStringLiteral("color: blue;"));
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &ClickableLabel::clicked, this,
            [this] { m_services.web().BrowseURL(m_services.web().paperSizePage()); });
    tips->addWidget(link);
    tips->addStretch();
    return bar;
}

QWidget *TfrmMutiPrintCDHP::buildFillPanel()
{
    panelModify = new ColumnFillPanel(
        {"panelModify",
         false,
         "ckClear",
         QStringLiteral("清空"),
         "btModifyField",
         QStringLiteral("应用修改"),
         "btFinished",
         QStringLiteral("完成关闭"),
         {QStringLiteral("【技巧】：可进行多次拼合达到多列合并的目的！也可用于批量修改某列为固定"
                         "文字，例如:把某列全部改为\"xxx\"或置空。")},
         true},
        this);
    connect(panelModify, &ColumnFillPanel::applyClicked, this,
            &TfrmMutiPrintCDHP::btModifyFieldClick);
    return panelModify;
}

void TfrmMutiPrintCDHP::buildGrid()
{
    DBGrid1 = makeBatchGrid(this, m_model);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        edtSelectCount->setText(QString::number(m_model->rowCount()));
        btStartPrint->setEnabled(m_model->rowCount() > 0);
    });

    m_popup = new QMenu(this);
    const std::vector<std::pair<const char *, std::pair<const char *, std::function<void()>>>>
        items{
            {"nPrintSel", {"批量打印选中", [this] { nPrintSelClick(); }}},
            {"mPrintAll", {"批量打印列表所有", [this] { btStartPrintClick(); }}},
            {"miPrintFrom",
             {"【从当前条开始】打印到最后", [this] { printFrom(DBGrid1->currentIndex().row()); }}},
            {"nRefresh", {"刷新", [this] { refresh(); }}},
            {"N3",
             {"记住当前表格列宽",
              [this] { GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName()); }}},
            {"nDeleteSel", {"删除选中", [this] { btDelSelectClick(); }}},
        };
    for (const auto &[name, item] : items) {
        QAction *a = m_popup->addAction(QString::fromUtf8(item.first));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, item.second);
    }
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popup->popup(DBGrid1->viewport()->mapToGlobal(at)); });
}

// ---- listing ----------------------------------------------------------------------------

void TfrmMutiPrintCDHP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    AReloadListNames();
    refresh();
    TfrmBatchRuns::reportInterrupted(m_services, QString::fromUtf8(DraftBatchList::kTable),
                                     QStringLiteral("汇票"));
}

void TfrmMutiPrintCDHP::closeEvent(QCloseEvent *event)
{
    GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName());
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::closeEvent(event);
}

void TfrmMutiPrintCDHP::ALoadGridData(const QString &group)
{
    QString error;
    const auto statement =
        DraftBatchList::listStatement(group, edtOrder->currentText(), ckDESC->isChecked(), &error);
    if (!statement || !m_model->list(*statement, &error)) {
        m_services.ui().error(u"列出批打票据失败：" + error);
        return;
    }
    GridView::GridColsWidthLoad(m_services.grids(), *DBGrid1, objectName());
}

void TfrmMutiPrintCDHP::AReloadListNames()
{
    const auto names = DraftBatchList(m_services.database()).groupNames(nullptr);
    if (!names)
        return;
    const QString text = cb_ListName->currentText();
    cb_ListName->clear();
    cb_ListName->addItems(*names);
    cb_ListName->setEditText(text);
}

void TfrmMutiPrintCDHP::refresh()
{
    ALoadGridData(cb_ListName->currentText());
}

QList<int> TfrmMutiPrintCDHP::selectedIds() const
{
    return m_model->idsInListOrder(DBGrid1->selectionModel()->selectedRows());
}

// ---- printing ---------------------------------------------------------------------------

void TfrmMutiPrintCDHP::printRows(const QList<int> &ids)
{
    TfmCheckCDHP *form = TfmCheckCDHP::instance();
    if (!form || ids.isEmpty())
        return;
    // The list must not change under the loop.
    btStartPrint->setEnabled(false);
    DBGrid1->setEnabled(false);
    DraftBatchList list(m_services.database());
    const QDate formDate = static_cast<QDateEdit *>(form->field(QStringLiteral("SelDate")))->date();
    const DraftOptions options = form->options();
    ExpressBatchPrinter printer(
        m_services, *form,
        [&](BillValues &draft, int id) {
            QString error;
            const auto row = list.row(id, &error);
            if (!row)
                return QStringLiteral("第 %1 条：读取失败 %2").arg(id).arg(error);
            return putDraftRow(draft, *row, options, formDate, m_services.dictionaries());
        },
        this,
        {QStringLiteral("批量打印承兑汇票"), QStringLiteral("汇票"), QStringLiteral("汇票"),
         QString::fromUtf8(DraftBatchList::kTable)});
    printer.rowDone = batchRowDone;
    const ExpressBatchPrinter::Outcome out = printer.run(ids);
    DBGrid1->setEnabled(true);
    btStartPrint->setEnabled(m_model->rowCount() > 0);
    if (!out.started)
        return; // the printer setup was cancelled, or the job said why
    const auto summary = printer.summarize(out);
    refresh();
    if (summary.bad)
        m_services.ui().warn(summary.text, kPrompt);
    else
        m_services.ui().alert(summary.text, kPrompt);
}

void TfrmMutiPrintCDHP::btStartPrintClick()
{
    printRows(m_model->ids());
}

void TfrmMutiPrintCDHP::printFrom(int row)
{
    // Resuming a jammed run: the rest of the list, as a run of every row would print it.
    if (row >= 0)
        printRows(m_model->ids().mid(row));
}

void TfrmMutiPrintCDHP::btRunsClick()
{
    TfrmBatchRuns runs(m_services, QString::fromUtf8(DraftBatchList::kTable), this);
    // A run is printed again as a run of every row would print it.
    if (runs.exec() == QDialog::Accepted)
        printRows(runs.chosenRows());
}

void TfrmMutiPrintCDHP::nPrintSelClick()
{
    if (!TfmCheckCDHP::instance())
        return;
    const QList<int> ids = selectedIds();
    if (ids.isEmpty()) {
        m_services.ui().alert(QStringLiteral("没有选中要打印的列表项目！"), kPrompt);
        return;
    }
    printRows(ids);
}

// ---- edits ------------------------------------------------------------------------------

void TfrmMutiPrintCDHP::btClearClick()
{
    if (!m_services.ui().ask(QStringLiteral("提示：确认要删除当前列表所有收件人吗？"), kPrompt))
        return;
    QString error;
    if (!DraftBatchList(m_services.database()).clearGroup(cb_ListName->currentText(), &error)) {
        m_services.ui().alert(QStringLiteral("清空失败！"), QStringLiteral("确认"));
        return;
    }
    AReloadListNames();
    refresh();
    TfrmBatchRuns::reportInterrupted(m_services, QString::fromUtf8(DraftBatchList::kTable),
                                     QStringLiteral("汇票"));
}

void TfrmMutiPrintCDHP::btDelSelectClick()
{
    m_services.grids().GridSelectedDelete(*DBGrid1->selectionModel(),
                                          QString::fromUtf8(DraftBatchList::kTable),
                                          QStringLiteral("ID"), QStringLiteral("收件人"));
    refresh();
}

void TfrmMutiPrintCDHP::btToExcelClick()
{
    // The key and the print state mean nothing outside this list; every cell goes out as text.
    if (m_services.grids().ExportGrid2Excel(*m_model, QStringLiteral("帐户信息导出结果"), {},
                                            BatchTable::leadingColumns()))
        m_services.ui().alert(QStringLiteral("导出结束！共导出%1条记录~").arg(m_model->rowCount()),
                              kPrompt);
}

void TfrmMutiPrintCDHP::btFromWriteClick()
{
    // The new row joins the listed group so that it stays in view.
    const QString group = cb_ListName->currentText().trimmed();
    Database &db = m_services.database();
    QSqlQuery q = db.query();
    const QVariant id = db.insertReturningKey(
        q, QStringLiteral("INSERT INTO MultiPrintCDHP (批打分组, 票据状态) VALUES (?, '0')"),
        {group == kAll ? QString() : group}, QStringLiteral("ID"));
    if (!id.isValid()) {
        m_services.ui().alert(u"添加失败！" + q.lastError().text(), kPrompt);
        return;
    }
    refresh();
    const int row = m_model->ids().indexOf(id.toInt());
    if (row >= 0) {
        DBGrid1->setCurrentIndex(m_model->index(row, 1));
        DBGrid1->setFocus();
    }
}

void TfrmMutiPrintCDHP::btFromHistoryClick()
{
    if (m_sources.pickFromHistory)
        m_sources.pickFromHistory(cb_ListName->currentText());
    AReloadListNames();
    refresh();
    TfrmBatchRuns::reportInterrupted(m_services, QString::fromUtf8(DraftBatchList::kTable),
                                     QStringLiteral("汇票"));
}

void TfrmMutiPrintCDHP::btFillColumnClick()
{
    if (m_model->columnCount() == 0) {
        m_services.ui().alert(QStringLiteral("列表为空，没法儿修改，加点批打收件人资料再试吧 :)"),
                              kPrompt);
        return;
    }
    panelModify->offerColumns(ColumnFillPanel::columnChoices(m_model->record()));
    panelModify->show();
}

void TfrmMutiPrintCDHP::btModifyFieldClick()
{
    const QString target = panelModify->confirmedTarget(m_services.ui());
    if (target.isEmpty())
        return;
    QString error;
    const auto changed =
        DraftBatchList(m_services.database())
            .fillColumn(cb_ListName->currentText(), target, panelModify->parts(), &error);
    if (!changed) {
        m_services.ui().error(error);
        return;
    }
    refresh();
    panelModify->showResult(
        *changed == 0 ? QStringLiteral("没有修改或修改失败~")
                      : QStringLiteral("%1条收件人的【%2】修改成功！").arg(*changed).arg(target));
}
