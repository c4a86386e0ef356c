#include "batch/ui/TfrmMutiPrint.h"

#include "base/DateDisplay.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "batch/ReceiverList.h"
#include "batch/ReceiverListModel.h"
#include "batch/ReceiverSlip.h"
#include "batch/ui/BatchGrid.h"
#include "batch/ui/ColumnFillPanel.h"
#include "batch/ui/TfrmBatchRuns.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/TPersonKDD.h"
#include "data/ui/GridView.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kTable = QStringLiteral("ReceiverList");
const QStringList kTabs{"【所有】", "【未打印】", "【已打印】", "【临时打印】"};
// Days back from today of each date preset; the month and year presets start on their first day.
const QList<std::pair<QString, int>> kDatePresets{
    {"今天", 0},       {"最近三天", 2}, {"最近一周", 6},  {"最近一个月", 30}, {"最近三个月", 90},
    {"最近一年", 365}, {"本月内", -1},  {"本年度内", -2}, {"其他日期", -3}};

} // namespace

TfrmMutiPrint::TfrmMutiPrint(AppServices &services, Sources sources, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_sources(std::move(sources))
{
    setObjectName(QStringLiteral("frmMutiPrint"));
    setWindowTitle(QStringLiteral("岚砚软件-批量打印快递单-收件人"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_model = new ReceiverListModel(services.database(), this);
    connect(m_model, &ReceiverListModel::editFailed, this,
            [this](const QString &error) { m_services.ui().alert(u"错误，" + error, kPrompt); });
    buildLayout();
    FormFaceLoad(*this, m_services.settings().userIni());
}

TfrmMutiPrint::~TfrmMutiPrint() = default;

// ---- building ---------------------------------------------------------------------------

QPushButton *TfrmMutiPrint::addButton(const char *name, const QString &caption, const QString &hint)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

void TfrmMutiPrint::buildLayout()
{
    auto *right = new QVBoxLayout;
    right->addWidget(buildFilterGroup());
    right->addWidget(buildFillPanel());
    right->addWidget(buildActionRow());
    tabStatus = new QTabBar(this);
    tabStatus->setObjectName(QStringLiteral("tabStatus"));
    for (const QString &tab : kTabs)
        tabStatus->addTab(tab);
    connect(tabStatus, &QTabBar::currentChanged, this, &TfrmMutiPrint::tabChanged);
    right->addWidget(tabStatus);
    buildGrid();
    right->addWidget(DBGrid1, 1);

    auto *body = new QHBoxLayout;
    body->addWidget(buildLeftPanel());
    body->addLayout(right, 1);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(body, 1);
    statusBar = new QStatusBar(this);
    statusBar->showMessage(u"当前页选框:" + kTabs[0]);
    outer->addWidget(statusBar);
    buildPopupMenu();
    resize(1100, 680);
}

QWidget *TfrmMutiPrint::buildLeftPanel()
{
    auto *panel = new QWidget(this);
    panel->setFixedWidth(200);
    auto *l = new QVBoxLayout(panel);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(new QLabel(QStringLiteral("导入或创建日期："), panel));
    tvDates = new QTreeWidget(panel);
    tvDates->setObjectName(QStringLiteral("tvDates"));
    tvDates->setHeaderHidden(true);
    for (const auto &[caption, days] : kDatePresets) {
        auto *item = new QTreeWidgetItem(tvDates, {caption});
        item->setData(0, Qt::UserRole, days);
    }
    connect(tvDates, &QTreeWidget::itemClicked, this, &TfrmMutiPrint::datePresetChosen);
    l->addWidget(tvDates);

    auto *sources = new QGroupBox(QStringLiteral("1.外部数据获取  "), panel);
    auto *sl = new QVBoxLayout(sources);
    QPushButton *recognise = addButton("btRecognise", QStringLiteral("识别复制串或输入"),
                                       QStringLiteral("来自淘宝拍拍等的收获地址串识别"));
    QPushButton *import = addButton("btImportExcel", QStringLiteral("导入Excel "),
                                    QStringLiteral("从Excel批量导入收件人信息"));
    QPushButton *book = addButton("btAddressBook", QStringLiteral("选取地址本"),
                                  QStringLiteral("从地址薄选取一些地址"));
    const auto relist = [this] {
        AReloadListNames();
        ALoadGridData();
    };
    connect(recognise, &QPushButton::clicked, this, [this, relist] {
        if (m_sources.recognise)
            m_sources.recognise(relist);
    });
    connect(import, &QPushButton::clicked, this, [this, relist] {
        if (m_sources.importSpreadsheet)
            m_sources.importSpreadsheet(relist);
    });
    connect(book, &QPushButton::clicked, this, &TfrmMutiPrint::btAddressBookClick);
    for (QPushButton *b : {recognise, import, book})
        sl->addWidget(b);
    l->addWidget(sources);

    QPushButton *clear = addButton("btClearAll", QStringLiteral("清空系统所有条目"));
    QPushButton *exportList = addButton("btExport", QStringLiteral("导出到Excel(列出)"),
                                        QStringLiteral("导出为Excel备份"));
    QPushButton *deleteList = addButton("btDeleteList", QStringLiteral("删除当前列出条目"));
    connect(clear, &QPushButton::clicked, this, &TfrmMutiPrint::btClearAllClick);
    connect(exportList, &QPushButton::clicked, this, &TfrmMutiPrint::btExportClick);
    connect(deleteList, &QPushButton::clicked, this, &TfrmMutiPrint::btDeleteListClick);
    for (QPushButton *b : {clear, exportList, deleteList})
        l->addWidget(b);

    const QString tip = QStringLiteral("岚砚提示");
    const QList<std::pair<QString, std::function<void()>>> links{
        {"【怎样设置批打纸张?】",
         [this] { m_services.web().BrowseURL(m_services.web().paperSizePage()); }},
        {"【批量打印其他注意】",
         [this] {
             m_services.ui().alert(
                 QStringLiteral(
                     "1.如果是从打印机后面链条自动走纸，打印前要添加和快递单一样大小的纸张规格，"
                     "否则走纸会跳页。\r  添加纸张规格说明请参见手册或软件右侧在线服务中心【纸张"
                     "设置】的网页链接；\r\r2.如果是从打印机前方平推进纸，请撕下快递单一张张放，"
                     "打印一张退一张。"),
                 kPrompt);
         }},
        {"【怎样仅打印选中条目?】",
         [this, tip] {
             m_services.ui().alert(
                 QStringLiteral("选中要打印的条目后，鼠标右击它们，在弹出的菜单中点击“【批量打"
                                "印选中】条目”"),
                 tip);
         }},
        {"【怎样点击多选?】",
         [this, tip] {
             m_services.ui().alert(
                 QStringLiteral(
                     "按住Ctrl或Shift键不放开，然后鼠标左键点击表格中的条目可选中多个条目！"),
                 tip);
         }},
        {"【怎样隐藏不用的数据列?】",
         [this, tip] {
             m_services.ui().alert(
                 QStringLiteral("鼠标右击表格，在弹出的菜单中点击“【隐藏/显示】表格列”,把不需要"
                                "的列加入到不需要的列表。"),
                 tip);
         }},
    };
    for (const auto &[caption, action] : links) {
        auto *link = new ClickableLabel(caption, panel);
        link->setStyleSheet(QStringLiteral("color: blue;"));
        link->setCursor(Qt::PointingHandCursor);
        connect(link, &ClickableLabel::clicked, this, action);
        l->addWidget(link);
    }
    l->addStretch();
    return panel;
}

QWidget *TfrmMutiPrint::buildFilterGroup()
{
    grpFilter = new QGroupBox(QStringLiteral("2.【过滤查询】(只列出想要的)"), this);
    grpFilter->setObjectName(QStringLiteral("grpFilter"));
    auto *rows = new QVBoxLayout(grpFilter);
    auto *first = new QHBoxLayout;
    cbFilterFields = new QComboBox(grpFilter);
    cbFilterFields->setObjectName(QStringLiteral("cbFilterFields"));
    cbFilterFields->setMinimumWidth(130);
    cbEqualType = new QComboBox(grpFilter);
    cbEqualType->setObjectName(QStringLiteral("cbEqualType"));
    cbEqualType->addItems({QStringLiteral("包含"), QStringLiteral("等于")});
    keyEdit = new QLineEdit(grpFilter);
    keyEdit->setObjectName(QStringLiteral("keyEdit"));
    keyEdit->setToolTip(QStringLiteral("输入查询关键字"));
    QPushButton *query = addButton("_btRefreash", QStringLiteral("查 询"));
    QPushButton *all = addButton("btAll", QStringLiteral("全 部"));
    connect(keyEdit, &QLineEdit::returnPressed, this, [this] { ALoadGridData(); });
    connect(query, &QPushButton::clicked, this, [this] { ALoadGridData(); });
    connect(all, &QPushButton::clicked, this, [this] {
        keyEdit->clear();
        const QSignalBlocker quiet(ckAllDates);
        ckAllDates->setChecked(true);
        allDatesToggled();
    });
    edtOrder = new QComboBox(grpFilter);
    edtOrder->setObjectName(QStringLiteral("edtOrder"));
    edtOrder->setEditable(true);
    edtOrder->setMinimumWidth(90);
    ckDesc = new QCheckBox(QStringLiteral("倒序"), grpFilter);
    ckDesc->setObjectName(QStringLiteral("ckDesc"));
    // Imported rows carry the group the clerk typed or the sheet named; every group is
    // listed by default so that none of them is out of sight.
    cb_ListName = new QComboBox(grpFilter);
    cb_ListName->setObjectName(QStringLiteral("cb_ListName"));
    cb_ListName->setEditable(true);
    cb_ListName->setInsertPolicy(QComboBox::NoInsert);
    cb_ListName->setEditText(QString::fromUtf8(ReceiverList::kAllGroups));
    cb_ListName->setToolTip(QStringLiteral("全部列表：所有条目；空：没有分组的条目"));
    connect(cb_ListName->lineEdit(), &QLineEdit::returnPressed, this, [this] { ALoadGridData(); });
    connect(cb_ListName, &QComboBox::activated, this, [this] { ALoadGridData(); });
    // The group and the keyword each get a row of their own to grow in: side by side, at
    // 1024 pixels the keyword box was squeezed down to two characters.
    for (QWidget *w : std::initializer_list<QWidget *>{cb_ListName, keyEdit}) {
        w->setMinimumWidth(160);
        w->setMaximumWidth(320);
    }
    first->addWidget(new QLabel(QStringLiteral("批打分组:"), grpFilter));
    first->addWidget(cb_ListName, 1);
    first->addSpacing(12);
    first->addWidget(new QLabel(QStringLiteral("排序列:"), grpFilter));
    first->addWidget(edtOrder);
    first->addWidget(ckDesc);
    rows->addLayout(first);

    auto *filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("筛选列:"), grpFilter));
    filter->addWidget(cbFilterFields);
    filter->addWidget(cbEqualType);
    filter->addWidget(keyEdit, 1);
    filter->addWidget(query);
    filter->addWidget(all);
    filter->addStretch(1);
    rows->addLayout(filter);

    auto *second = new QHBoxLayout;
    Date1 = new QDateEdit(grpFilter);
    Date1->setObjectName(QStringLiteral("Date1"));
    Date2 = new QDateEdit(grpFilter);
    Date2->setObjectName(QStringLiteral("Date2"));
    Time1 = new QTimeEdit(QTime(0, 0, 0), grpFilter);
    Time1->setObjectName(QStringLiteral("Time1"));
    Time2 = new QTimeEdit(QTime(23, 59, 59), grpFilter);
    Time2->setObjectName(QStringLiteral("Time2"));
    for (QDateEdit *d : {Date1, Date2}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(DateDisplay::format());
    }
    for (QTimeEdit *t : {Time1, Time2}) {
        t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        t->setToolTip(QStringLiteral("时分"));
    }
    ckAllDates = new QCheckBox(QStringLiteral("不限日期时间"), grpFilter);
    ckAllDates->setObjectName(QStringLiteral("ckAllDates"));
    ckAllDates->setChecked(true);
    connect(ckAllDates, &QCheckBox::toggled, this, &TfrmMutiPrint::allDatesToggled);
    connect(Date2, &QDateEdit::dateChanged, this, [this] { ckAllDates->setChecked(false); });
    edtListCount = new QLineEdit(QStringLiteral("0"), grpFilter);
    edtListCount->setObjectName(QStringLiteral("edtListCount"));
    edtSelectedCount = new QLineEdit(QStringLiteral("0"), grpFilter);
    edtSelectedCount->setObjectName(QStringLiteral("edtSelectedCount"));
    for (QLineEdit *e : {edtListCount, edtSelectedCount}) {
        e->setReadOnly(true);
        e->setFixedWidth(52);
    }
    second->addWidget(new QLabel(QStringLiteral("录入日期:"), grpFilter));
    second->addWidget(Date1);
    second->addWidget(Time1);
    second->addWidget(new QLabel(QStringLiteral("到"), grpFilter));
    second->addWidget(Date2);
    second->addWidget(Time2);
    second->addWidget(ckAllDates);
    second->addStretch();
    // A date cut to "2026-12-0" reads as another day: these never shrink below their text.
    for (QWidget *w : std::initializer_list<QWidget *>{Date1, Date2, Time1, Time2, ckAllDates})
        w->setMinimumWidth(w->sizeHint().width());
    rows->addLayout(second);
    first->addSpacing(12);
    first->addWidget(new QLabel(QStringLiteral("共列出:"), grpFilter));
    first->addWidget(edtListCount);
    first->addWidget(new QLabel(QStringLiteral("条,选中了"), grpFilter));
    first->addWidget(edtSelectedCount);
    first->addWidget(new QLabel(QStringLiteral("条。"), grpFilter));
    first->addStretch(1);
    allDatesToggled();
    return grpFilter;
}

QWidget *TfrmMutiPrint::buildFillPanel()
{
    panelFill = new ColumnFillPanel(
        {"panelFill",
         true,
         "ckEmpty",
         QStringLiteral("置空"),
         "btApplyFill",
         QStringLiteral("应用修改"),
         "btCloseFill",
         QStringLiteral("关闭"),
         {QStringLiteral("【技巧】：可进行多次拼合达到多列合并的目的！也可用于批量修改某列为固定"
                         "文字或置空。"),
          QStringLiteral("例如（多列拼加）：       @地址 = @省 + @市 + @地址"),
          QStringLiteral("例如（前置特定句子）：   @地址 = 收货地址: + @地址 "),
          QStringLiteral("例如（后置特定句子）：   @地址 = @地址 + 【务必本人签收】"),
          QStringLiteral("例如（前后置特定句子）： @内件说明 = 光盘数: +  @数量  + 张."),
          QStringLiteral("例如（置为特定句子）：   @内件说明 =  文件或发票")}},
        this);
    panelFill->installEventFilter(this);
    connect(panelFill->targetBox(), &QComboBox::currentTextChanged, this,
            &TfrmMutiPrint::fillTargetChanged);
    connect(panelFill, &ColumnFillPanel::applyClicked, this, &TfrmMutiPrint::btApplyFillClick);
    return panelFill;
}

QWidget *TfrmMutiPrint::buildActionRow()
{
    auto *row = new QWidget(this);
    auto *l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    QPushButton *first = addButton("btFirst", QStringLiteral("|<"), QStringLiteral("第一条"));
    QPushButton *last = addButton("btLast", QStringLiteral(">|"), QStringLiteral("最后一条"));
    QPushButton *topN = addButton("btSelectTopN", QStringLiteral("选中前 N 条"));
    btPrintAll = addButton("btPrintAll", QStringLiteral("3.【开始】批量打印列出条目"),
                           QStringLiteral("通常是从打印机后面放入"));
    btPrintAll->setEnabled(false);
    QPushButton *fill = addButton("btFillColumn", QStringLiteral("批量填充列"),
                                  QStringLiteral("将一下列表收件人的某项填入同一值"));
    QPushButton *remove = addButton("btDeleteSelected", QStringLiteral("删除选中条目"));
    QPushButton *runs =
        addButton("btRuns", QStringLiteral("打印记录"),
                  QStringLiteral("每一批打印的时间、打印机和张数；卡纸后从第 N 条重打"));
    connect(runs, &QPushButton::clicked, this, &TfrmMutiPrint::btRunsClick);
    connect(first, &QPushButton::clicked, this, [this] { DBGrid1->selectRow(0); });
    connect(last, &QPushButton::clicked, this,
            [this] { DBGrid1->selectRow(m_model->rowCount() - 1); });
    connect(topN, &QPushButton::clicked, this, &TfrmMutiPrint::selectFirstRows);
    connect(btPrintAll, &QPushButton::clicked, this, &TfrmMutiPrint::btPrintAllClick);
    connect(fill, &QPushButton::clicked, this, &TfrmMutiPrint::btFillColumnClick);
    connect(remove, &QPushButton::clicked, this, &TfrmMutiPrint::btDeleteSelectedClick);
    for (QPushButton *b : {first, last, topN, btPrintAll, fill, remove, runs})
        l->addWidget(b);
    l->addStretch();
    return row;
}

void TfrmMutiPrint::buildGrid()
{
    DBGrid1 = makeBatchGrid(this, m_model);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, &TfrmMutiPrint::showPopupMenu);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfrmMutiPrint::updateSelectedCount);
}

void TfrmMutiPrint::buildPopupMenu()
{
    m_popup = new QMenu(this);
    const auto add = [this](const char *name, const QString &caption, auto &&slot) {
        QAction *a = m_popup->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("miPrintSelected", QStringLiteral("【批量打印选中】条目"), [this] { printSelected(); });
    add("miPrintAll", QStringLiteral("【批量打印所有】列出条目"), [this] { btPrintAllClick(); });
    add("miPrintFrom", QStringLiteral("【从当前条开始】打印到最后"),
        [this] { printFrom(DBGrid1->currentIndex().row()); });
    add("miPreview", QStringLiteral("【预览】第1个"), [this] { preview(); });
    add("miRefresh", QStringLiteral("【刷新】"), [this] { ALoadGridData(); });
    QMenu *move = m_popup->addMenu(QStringLiteral("【移动到】.."));
    move->menuAction()->setObjectName(QStringLiteral("miMoveTo"));
    for (const auto &[name, caption, status] :
         {std::tuple{"miToPrinted", "【已打印】列表", ReceiverList::kPrinted},
          std::tuple{"miToUnprinted", "【未打印】列表", ""},
          std::tuple{"miToTemporary", "【临时打印】列表", ReceiverList::kTemporary}}) {
        QAction *a = move->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        const QString target = QString::fromUtf8(status);
        connect(a, &QAction::triggered, this, [this, target] { moveSelectedTo(target); });
    }
    add("miDeleteSelected", QStringLiteral("【删除】选中条目"),
        [this] { btDeleteSelectedClick(); });
    add("miDeleteList", QStringLiteral("【删除】所有列出条目"), [this] { btDeleteListClick(); });
    add("miClearAll", QStringLiteral("【清空】系统所有条目"), [this] { btClearAllClick(); });
    add("miSaveWidths", QStringLiteral("【记住】当前表格列宽"),
        [this] { GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName()); });
    add("miColumns", QStringLiteral("【隐藏/显示】表格列"),
        [this] { GridView::GridColsConfigration(m_services, *DBGrid1, objectName()); });
}

void TfrmMutiPrint::showPopupMenu(const QPoint &at)
{
    const int selected = int(selectedIdsInListOrder().size());
    const auto caption = [selected](const char *text) {
        const QString plain = QString::fromUtf8(text);
        return selected > 0 ? plain + u'(' + QString::number(selected) + QStringLiteral("条)")
                            : plain;
    };
    QAction *print = m_popup->findChild<QAction *>(QStringLiteral("miPrintSelected"));
    QAction *remove = m_popup->findChild<QAction *>(QStringLiteral("miDeleteSelected"));
    print->setText(caption("【批量打印选中】条目"));
    remove->setText(caption("【删除】选中条目"));
    print->setEnabled(selected > 0);
    remove->setEnabled(selected > 0);
    m_popup->findChild<QAction *>(QStringLiteral("miPrintFrom"))
        ->setEnabled(DBGrid1->currentIndex().isValid());
    // The move items offer every list but the one shown; the temporary list is never deleted
    // from here.
    const int tab = tabStatus->currentIndex();
    m_popup->findChild<QAction *>(QStringLiteral("miToPrinted"))->setVisible(tab != 2);
    m_popup->findChild<QAction *>(QStringLiteral("miToUnprinted"))->setVisible(tab != 1);
    m_popup->findChild<QAction *>(QStringLiteral("miToTemporary"))->setVisible(tab != 3);
    remove->setVisible(tab != 3);
    m_popup->popup(DBGrid1->viewport()->mapToGlobal(at));
}

// ---- listing ------------------------------------------------------------------------------

void TfrmMutiPrint::ALoadGridData(const QString &group)
{
    cb_ListName->setEditText(group);
    ALoadGridData();
}

void TfrmMutiPrint::AReloadListNames()
{
    const auto names = ReceiverList(m_services.database()).groupNames(nullptr);
    if (!names)
        return;
    const QString text = cb_ListName->currentText();
    const QSignalBlocker quiet(cb_ListName);
    cb_ListName->clear();
    cb_ListName->addItems(*names);
    cb_ListName->setEditText(text);
}

void TfrmMutiPrint::ALoadGridData()
{
    edtListCount->setText(QStringLiteral("0"));
    edtSelectedCount->setText(QStringLiteral("0"));
    keyEdit->setText(keyEdit->text().trimmed());

    ReceiverList::Filter filter;
    filter.group = cb_ListName->currentText();
    if (!keyEdit->text().isEmpty())
        filter.keyColumns = cbFilterFields->currentText().split(u'|', Qt::SkipEmptyParts);
    filter.keyEquals = cbEqualType->currentIndex() == 1;
    filter.key = keyEdit->text();
    filter.orderColumn = edtOrder->currentText();
    filter.descending = ckDesc->isChecked();
    if (!ckAllDates->isChecked()) {
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
        filter.enteredFrom = QDateTime(Date1->date(), Time1->time()).toString(format);
        filter.enteredTo = QDateTime(Date2->date(), Time2->time()).toString(format);
    }
    switch (tabStatus->currentIndex()) {
    case 1:
        filter.status = QString();
        break;
    case 2:
        filter.status = QString::fromUtf8(ReceiverList::kPrinted);
        break;
    case 3:
        filter.status = QString::fromUtf8(ReceiverList::kTemporary);
        break;
    default:
        break;
    }

    QString error;
    const auto statement = ReceiverList::listStatement(filter, &error);
    if (!statement || !m_model->list(*statement, &error)) {
        m_services.ui().error(u"列出收件人失败：" + error);
        btPrintAll->setEnabled(false);
        return;
    }
    edtListCount->setText(QString::number(m_model->rowCount()));
    GridView::GridColsWidthLoad(m_services.grids(), *DBGrid1, objectName());
    fillFilterColumns();
    btPrintAll->setEnabled(m_model->rowCount() > 0);
}

void TfrmMutiPrint::fillFilterColumns()
{
    if (cbFilterFields->count() > 2)
        return;
    const QSignalBlocker quiet(cbFilterFields);
    cbFilterFields->clear();
    cbFilterFields->addItems({QStringLiteral("联系人|全称|电话"), QStringLiteral("电话|手机"),
                              QStringLiteral("省|市|镇区")});
    const QSqlRecord record = m_model->record();
    QStringList columns;
    for (int c = 1; c < record.count(); ++c)
        columns << record.fieldName(c);
    cbFilterFields->addItems(columns);
    cbFilterFields->setCurrentIndex(0);
    if (edtOrder->count() == 0) {
        edtOrder->addItem(QStringLiteral("ID"));
        edtOrder->addItems(columns);
    }
}

void TfrmMutiPrint::updateSelectedCount()
{
    edtSelectedCount->setText(QString::number(selectedIdsInListOrder().size()));
}

QList<int> TfrmMutiPrint::selectedIdsInListOrder() const
{
    return m_model->idsInListOrder(DBGrid1->selectionModel()->selectedRows());
}

void TfrmMutiPrint::datePresetChosen(QTreeWidgetItem *item)
{
    const int days = item->data(0, Qt::UserRole).toInt();
    const QDate today = QDate::currentDate();
    QDate from = today.addDays(-days);
    if (days == -1)
        from = QDate(today.year(), today.month(), 1);
    else if (days == -2)
        from = QDate(today.year(), 1, 1);
    else if (days == -3) {
        m_services.ui().alert(QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"),
                              kPrompt);
        from = today.addDays(-548);
    }
    {
        const QSignalBlocker a(Date2), b(ckAllDates);
        Date1->setDate(from);
        Date2->setDate(today);
        ckAllDates->setChecked(false);
    }
    allDatesToggled();
    if (days == -3)
        Date1->setFocus();
}

void TfrmMutiPrint::allDatesToggled()
{
    const bool any = ckAllDates->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{Date1, Date2, Time1, Time2})
        w->setEnabled(!any);
    if (isVisible())
        ALoadGridData();
}

void TfrmMutiPrint::tabChanged(int tab)
{
    statusBar->showMessage(u"当前页选框:" + kTabs.value(tab));
    if (tab == 3) {
        const QSignalBlocker quiet(ckAllDates);
        ckAllDates->setChecked(true);
        allDatesToggled();
    }
    ALoadGridData();
}

void TfrmMutiPrint::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QSignalBlocker a(Date1), b(Date2);
    Date1->setDate(QDate::currentDate().addDays(-3));
    Date2->setDate(QDate::currentDate());
    Time2->setTime(QTime::currentTime());
    AReloadListNames();
    ALoadGridData();
    TfrmBatchRuns::reportInterrupted(m_services, kTable, QStringLiteral("快递单"));
}

void TfrmMutiPrint::hideEvent(QHideEvent *event)
{
    GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName());
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::hideEvent(event);
}

bool TfrmMutiPrint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panelFill && event->type() == QEvent::MouseButtonDblClick) {
        panelFill->hide();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- sources and edits --------------------------------------------------------------------

void TfrmMutiPrint::btAddressBookClick()
{
    const std::optional<TPerson> party =
        m_services.parties().fetchOnePerson(TPerson::kCounterparty, QStringLiteral("选取地址本"));
    if (!party)
        return;
    TPersonKDD receiver;
    static_cast<TPerson &>(receiver) = *party;
    receiver.Group.clear();
    QString error;
    if (ReceiverList(m_services.database()).addReceiverAndGoods(receiver, &error) ==
        ReceiverList::Added::Failed)
        m_services.ui().alert(QStringLiteral("添加失败！"), kPrompt);
    ALoadGridData();
}

void TfrmMutiPrint::selectFirstRows()
{
    if (m_model->rowCount() == 0)
        return;
    const QString value = m_services.ui().giveMeAnValue(
        QStringLiteral("输入重复打印的张数"), QStringLiteral("1"), QStringLiteral("integer"));
    if (value.isEmpty())
        return;
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    if (!ok) {
        m_services.ui().alert(QStringLiteral("输入错误的数字！"), kPrompt);
        return;
    }
    DBGrid1->clearSelection();
    const int last = std::min(n, m_model->rowCount()) - 1;
    if (last >= 0)
        DBGrid1->selectionModel()->select(
            QItemSelection(m_model->index(0, 0), m_model->index(last, m_model->columnCount() - 1)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TfrmMutiPrint::btDeleteSelectedClick()
{
    m_services.grids().GridSelectedDelete(*DBGrid1->selectionModel(), kTable, QStringLiteral("ID"),
                                          QStringLiteral("收件条目"));
    ALoadGridData();
}

void TfrmMutiPrint::btDeleteListClick()
{
    m_services.grids().GridDeleteCurrentList(*m_model, kTable, QStringLiteral("ID"));
    ALoadGridData();
}

void TfrmMutiPrint::btClearAllClick()
{
    if (!m_services.ui().ask(QStringLiteral("提示：确认要【清空系统所有列表】的收件人吗？清除后流"
                                            "水ID后会重置，清除操作将无法恢复！"),
                             QStringLiteral("确认")))
        return;
    if (!ReceiverList(m_services.database()).clearAll().isEmpty())
        m_services.ui().alert(QStringLiteral("清空失败！"), QStringLiteral("确认"));
    ALoadGridData();
}

void TfrmMutiPrint::btExportClick()
{
    m_services.grids().ExportGrid2Excel(*m_model, windowTitle());
}

void TfrmMutiPrint::moveSelectedTo(const QString &status)
{
    QString error;
    if (!ReceiverList(m_services.database()).moveTo(selectedIdsInListOrder(), status, &error))
        m_services.ui().alert(u"异常-" + error, kPrompt);
    ALoadGridData();
}

void TfrmMutiPrint::btFillColumnClick()
{
    const QSqlRecord record = m_model->record();
    if (record.count() == 0) {
        m_services.ui().alert(QStringLiteral("列表为空，没法儿修改，加点批打收件人资料再试吧 :)"),
                              kPrompt);
        return;
    }
    panelFill->offerColumns(ColumnFillPanel::columnChoices(record));
    panelFill->setVisible(!panelFill->isVisible());
    if (panelFill->isVisible())
        showMaximized();
}

void TfrmMutiPrint::fillTargetChanged()
{
    QComboBox *target = panelFill->targetBox();
    QString dictionary;
    if (target->currentText() == u"@备注")
        dictionary = QStringLiteral("备注");
    else if (target->currentText() == u"@内件说明" || target->currentText() == u"@物品内容")
        dictionary = QStringLiteral("物品内容");
    if (dictionary.isEmpty())
        return;
    QStringList columns;
    for (int i = 0; i < target->count(); ++i)
        columns << target->itemText(i);
    QComboBox *first = panelFill->firstPart();
    const QSignalBlocker quiet(first);
    first->clear();
    first->addItems(ReceiverList(m_services.database()).dictionaryValues(dictionary));
    first->addItems(columns);
    first->setEditText({});
}

void TfrmMutiPrint::btApplyFillClick()
{
    const QString target = panelFill->confirmedTarget(m_services.ui());
    if (target.isEmpty())
        return;
    QStringList operands = panelFill->parts();
    for (QString &part : operands)
        part = part.trimmed();
    QString error;
    const std::optional<int> changed =
        ReceiverList(m_services.database()).fillColumn(m_model->ids(), target, operands, &error);
    ALoadGridData();
    if (!changed || *changed <= 0)
        m_services.ui().alert(QStringLiteral("没有修改任何记录或修改失败~") +
                                  (error.isEmpty() ? QString() : u"\n" + error),
                              kPrompt);
    else
        m_services.ui().alert(
            QString::number(*changed) + u"条收件人的【" + target + u"】修改成功！", kPrompt);
    panelFill->hide();
}

// ---- printing -----------------------------------------------------------------------------

void TfrmMutiPrint::GridFieldIndexAdjust()
{
    m_shownColumns.clear();
    const QSqlRecord record = m_model->record();
    // The key sits first; every other column counts only while the list shows it.
    for (int c = 1; c < record.count(); ++c)
        if (!DBGrid1->isColumnHidden(c))
            m_shownColumns.insert(record.fieldName(c));
}

QString TfrmMutiPrint::pushRow(BillValues &slip, int id, const ExpressSlipOptions &options,
                               QString *typedAmount) const
{
    QString error;
    const auto row = ReceiverList(m_services.database()).row(id, &error);
    if (!row)
        return error.isEmpty() ? QString(u"调用错误，找不到记录，编号=" + QString::number(id))
                               : QString(u"错误，" + error);
    const ReceiverSlip receiver =
        ReceiverSlip::of(*row, m_shownColumns, !slip.isHidden(QStringLiteral("skrHandset")));
    const QString number = u"编号=" + QString::number(id) + u"：";
    if (receiver.noReceiver)
        return number + QStringLiteral("全称、联系人和地址都是空的");
    if (const QString why = receiver.putInto(slip, options); !why.isEmpty())
        return number + why;
    if (typedAmount && receiver.capitalAmount)
        *typedAmount = *receiver.capitalAmount;
    return {};
}

bool TfrmMutiPrint::SendToCheckByID(int id)
{
    TfmCheckKDD *form = TfmCheckKDD::instance();
    if (!form)
        return false;
    if (id <= 0) {
        m_services.ui().alert(QStringLiteral("没有选中有效的记录~"), kPrompt);
        return false;
    }
    BillValues slip = form->values();
    QString typedAmount;
    const QString why = pushRow(slip, id, form->options(), &typedAmount);
    if (!why.isEmpty()) {
        m_services.ui().alert(why, kPrompt);
        return false;
    }
    form->filling = true;
    form->loadValues(slip);
    // The form converts what the list holds, so a change of format later starts from it.
    if (!typedAmount.isNull()) {
        form->setFieldText(QStringLiteral("zdJEDX1"), typedAmount);
        form->zdJEDX1Exit();
    }
    form->filling = false;
    return true;
}

void TfrmMutiPrint::preview()
{
    const QModelIndex current = DBGrid1->currentIndex();
    GridFieldIndexAdjust();
    if (SendToCheckByID(current.isValid() ? m_model->idAt(current.row()) : 0))
        hide();
}

void TfrmMutiPrint::btPrintAllClick()
{
    printRows(m_model->ids());
}

void TfrmMutiPrint::printSelected()
{
    printRows(selectedIdsInListOrder());
}

void TfrmMutiPrint::printFrom(int row)
{
    if (row >= 0)
        printRows(m_model->ids().mid(row));
}

void TfrmMutiPrint::printRows(const QList<int> &ids)
{
    TfmCheckKDD *form = TfmCheckKDD::instance();
    if (!form || ids.isEmpty())
        return;
    // The list must not change under the loop.
    btPrintAll->setEnabled(false);
    DBGrid1->setEnabled(false);
    GridFieldIndexAdjust();
    const ExpressSlipOptions options = form->options();
    ExpressBatchPrinter printer(
        m_services, *form,
        [this, &options](BillValues &slip, int id) { return pushRow(slip, id, options); }, this);
    printer.rowDone = batchRowDone;
    const ExpressBatchPrinter::Outcome outcome = printer.run(ids);
    // Nothing began when the printer setup was cancelled, or the job said why.
    if (outcome.started) {
        const auto summary = printer.summarize(outcome);
        if (summary.bad)
            m_services.ui().warn(summary.text, kPrompt);
        else
            m_services.ui().alert(summary.text, kPrompt);
    }
    DBGrid1->setEnabled(true);
    ALoadGridData();
}

void TfrmMutiPrint::btRunsClick()
{
    TfrmBatchRuns runs(m_services, kTable, this);
    if (runs.exec() == QDialog::Accepted)
        printRows(runs.chosenRows());
}
